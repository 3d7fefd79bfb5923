#include "epub/xml/simple_xml_errors.h"

#include <string>

namespace quill::simple_xml_errors {
namespace {

std::string At(std::size_t position) { return " at position " + std::to_string(position); }

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// An opening that is not the one expected: "<construct>: expected "..." but found "...""
EJclSimpleXMLError WrongOpening(std::string_view construct, std::string_view expected,
                                std::string_view found, std::size_t position) {
  return EJclSimpleXMLError(std::string(construct) + ": expected " + Quoted(expected) +
                            " but found " + Quoted(found) + At(position));
}

// A construct that the input ends inside.
EJclSimpleXMLError NotClosed(std::string_view construct, std::size_t position) {
  return EJclSimpleXMLError(std::string(construct) + ": Unexpected end of data" + At(position));
}

}  // namespace

EJclSimpleXMLError TextInProlog(std::size_t position) {
  return EJclSimpleXMLError("Invalid Document: Unexpected text in file prolog" + At(position));
}

EJclSimpleXMLError MalformedTag(std::size_t position) {
  return EJclSimpleXMLError("Invalid XML Element: malformed tag found (no valid name)" +
                            At(position));
}

EJclSimpleXMLError ExpectedEndOfTag(std::string_view found, std::size_t position) {
  return EJclSimpleXMLError("Invalid XML Element: Expected end of tag but " + Quoted(found) +
                            " found" + At(position));
}

EJclSimpleXMLError WrongEndTag(std::string_view expected, std::string_view found,
                               std::size_t position) {
  return EJclSimpleXMLError("Invalid XML Element: Erroneous end of tag, expecting </" +
                            std::string(expected) + "> but </" + std::string(found) + "> found" +
                            At(position));
}

EJclSimpleXMLError BadPropertyCharacter(std::string_view found, std::size_t position) {
  return EJclSimpleXMLError("Invalid XML Element: Unexpected character in property declaration (" +
                            Quoted(found) + " found" + At(position) + ")");
}

EJclSimpleXMLError PropertyValueWithoutQuote(std::string_view found, std::size_t position) {
  // Two blanks stand before "found" in this message.
  return EJclSimpleXMLError(
      "Invalid XML Element: Unexpected character in property declaration. Expecting \" or ' but " +
      Quoted(found) + "  found" + At(position));
}

EJclSimpleXMLError BadCommentOpening(std::string_view expected, std::string_view found,
                                     std::size_t position) {
  return WrongOpening("Invalid Comment", expected, found, position);
}

EJclSimpleXMLError DoubleHyphenInComment(std::size_t position) {
  return EJclSimpleXMLError("Invalid Comment: \"--\" not allowed inside comments" + At(position));
}

EJclSimpleXMLError CommentNotClosed(std::size_t position) {
  return NotClosed("Invalid Comment", position);
}

EJclSimpleXMLError BadCDataOpening(std::string_view expected, std::string_view found,
                                   std::size_t position) {
  return WrongOpening("Invalid CDATA", expected, found, position);
}

EJclSimpleXMLError CDataNotClosed(std::size_t position) {
  return NotClosed("Invalid CDATA", position);
}

EJclSimpleXMLError BadHeaderOpening(std::string_view expected, std::string_view found,
                                    std::size_t position) {
  return WrongOpening("Invalid Header", expected, found, position);
}

EJclSimpleXMLError NestingTooDeep(std::size_t limit, std::size_t position) {
  return EJclSimpleXMLError("Invalid XML Element: elements nested deeper than " +
                            std::to_string(limit) + " levels" + At(position));
}

EJclCharsetError UnknownCharset() { return EJclCharsetError("No matching charset"); }

EJclSimpleXMLError IndexOutOfRange(std::size_t index, std::size_t count) {
  return EJclSimpleXMLError("Index " + std::to_string(index) + " out of range (" +
                            std::to_string(count) + " items)");
}

EJclSimpleXMLError NoElementNamed(std::string_view name) {
  return EJclSimpleXMLError("No element named " + Quoted(name));
}

EJclSimpleXMLError NoPropertyNamed(std::string_view name) {
  return EJclSimpleXMLError("No property named " + Quoted(name));
}

}  // namespace quill::simple_xml_errors
