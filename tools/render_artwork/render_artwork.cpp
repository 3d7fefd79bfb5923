// Renders one SVG picture of the program's artwork for the build:
//
//   quillmere-render-artwork SVG OUTPUT.png SCALE   the picture at its own size
//                                                   times SCALE, as PNG
//   quillmere-render-artwork SVG OUTPUT.ico         a Windows icon with the
//                                                   sizes the shell shows
//
// The program itself then loads pictures without an SVG renderer, which a
// static Windows build does not have.

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>

#include <cstdio>
#include <vector>

namespace {

QImage Render(QSvgRenderer& renderer, QSize size) {
  QImage image(size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  renderer.render(&painter);
  painter.end();
  return image;
}

void Append16(QByteArray& bytes, quint16 value) {
  const quint16 little = qToLittleEndian(value);
  bytes.append(reinterpret_cast<const char*>(&little), sizeof little);
}

void Append32(QByteArray& bytes, quint32 value) {
  const quint32 little = qToLittleEndian(value);
  bytes.append(reinterpret_cast<const char*>(&little), sizeof little);
}

// One icon image as a device-independent bitmap: the header with twice the
// height (colour and mask rows), 32-bit BGRA rows bottom up, then the 1-bit
// mask, which stays clear because the alpha channel decides.
QByteArray BitmapEntry(const QImage& image) {
  QByteArray bytes;
  const int side = image.width();
  Append32(bytes, 40);
  Append32(bytes, side);
  Append32(bytes, 2 * side);
  Append16(bytes, 1);
  Append16(bytes, 32);
  for (int i = 0; i < 6; ++i) Append32(bytes, 0);
  for (int y = side - 1; y >= 0; --y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < side; ++x) Append32(bytes, row[x]);
  }
  const int maskRowBytes = ((side + 31) / 32) * 4;
  bytes.append(QByteArray(maskRowBytes * side, '\0'));
  return bytes;
}

QByteArray PngEntry(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

// The sizes that Windows asks for in lists, menus, the taskbar and Explorer's
// views; the largest is stored as PNG, as the format expects.
QByteArray Icon(QSvgRenderer& renderer) {
  const std::vector<int> sides = {16, 20, 24, 32, 40, 48, 64, 256};
  std::vector<QByteArray> entries;
  for (int side : sides) {
    const QImage image = Render(renderer, QSize(side, side));
    entries.push_back(side < 256 ? BitmapEntry(image) : PngEntry(image));
  }
  QByteArray file;
  Append16(file, 0);
  Append16(file, 1);
  Append16(file, static_cast<quint16>(sides.size()));
  quint32 offset = 6 + 16 * static_cast<quint32>(sides.size());
  for (size_t i = 0; i < sides.size(); ++i) {
    const char side = static_cast<char>(sides[i] < 256 ? sides[i] : 0);
    file.append(side);
    file.append(side);
    file.append('\0');  // no palette
    file.append('\0');
    Append16(file, 1);
    Append16(file, 32);
    Append32(file, static_cast<quint32>(entries[i].size()));
    Append32(file, offset);
    offset += static_cast<quint32>(entries[i].size());
  }
  for (const QByteArray& entry : entries) file.append(entry);
  return file;
}

bool Write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  const QStringList arguments = application.arguments();
  const bool icon = arguments.size() == 3 && arguments[2].endsWith(QStringLiteral(".ico"));
  if (!icon && arguments.size() != 4) {
    std::fprintf(stderr, "usage: quillmere-render-artwork SVG OUTPUT.png SCALE | SVG OUTPUT.ico\n");
    return 2;
  }
  QSvgRenderer renderer(arguments[1]);
  if (!renderer.isValid()) {
    std::fprintf(stderr, "quillmere-render-artwork: %s: not a readable SVG picture\n", argv[1]);
    return 1;
  }
  QByteArray bytes;
  if (icon) {
    bytes = Icon(renderer);
  } else {
    bytes = PngEntry(Render(renderer, renderer.defaultSize() * arguments[3].toInt()));
  }
  if (!Write(arguments[2], bytes)) {
    std::fprintf(stderr, "quillmere-render-artwork: %s: cannot write\n", argv[2]);
    return 1;
  }
  return 0;
}
