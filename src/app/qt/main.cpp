// The desktop program: the main window with its list of found books.

#include <QScreen>

#include "app/qt/Unit1.h"
#include "widgets/application.h"
#include "widgets/qt_dialogs.h"
#include "widgets/qt_user_messages.h"
#include "widgets/quit_on_termination.h"
#include "apps/qt/frm_app_add.h"
#include "viewer/qt/zipview.h"
#include "base/scoped_user_messages.h"

int main(int argc, char* argv[]) {
  // The application object comes first; the message boxes of the core and
  // the error box of an escaped error show through the Qt dialogs.
  quill::Application application(argc, argv);
  quill::QtDialogs dialogs;
  quill::QtUserMessages messages(dialogs);
  quill::ScopedUserMessages messageScope(messages);
  // A session that ends or Ctrl+C ends the loop like closing the main window,
  // so the windows below are destroyed and the application list is saved.
  quill::QuitOnTermination quitOnTermination;

  // The main window: closing it ends the run.
  quill::TForm1 form1(dialogs);

  // After the main window and before the loop, the zip view window TFrmZip and
  // then the application list dialog Tfrmapp are created, hidden, as the
  // single instances that the main window reaches; creating the dialog loads
  // the application list, which the main window's first showing needs.
  quill::TFrmZip frmZip(dialogs, &form1);
  form1.SetZipView(&frmZip);
  quill::Tfrmapp frmapp(dialogs, &form1);
  form1.SetApplicationListDialog(&frmapp);

  // The window opens in the middle of the screen.
  if (const QScreen* screen = form1.screen()) {
    form1.move(screen->availableGeometry().center() - form1.rect().center());
  }
  form1.show();
  return application.exec();
}
