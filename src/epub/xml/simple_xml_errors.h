#pragma once

// The errors the XML document model raises, with their fixed texts. Each
// position is the 0-based byte offset in the parsed input at which the parser
// found the problem; "found" texts are the offending characters.

#include <cstddef>
#include <string_view>

#include "epub/xml/xml_error_kinds.h"

namespace quill::simple_xml_errors {

// Parsing.
EJclSimpleXMLError TextInProlog(std::size_t position);
EJclSimpleXMLError MalformedTag(std::size_t position);
EJclSimpleXMLError ExpectedEndOfTag(std::string_view found, std::size_t position);
EJclSimpleXMLError WrongEndTag(std::string_view expected, std::string_view found,
                               std::size_t position);
EJclSimpleXMLError BadPropertyCharacter(std::string_view found, std::size_t position);
EJclSimpleXMLError PropertyValueWithoutQuote(std::string_view found, std::size_t position);
EJclSimpleXMLError BadCommentOpening(std::string_view expected, std::string_view found,
                                     std::size_t position);
EJclSimpleXMLError DoubleHyphenInComment(std::size_t position);
EJclSimpleXMLError CommentNotClosed(std::size_t position);
EJclSimpleXMLError BadCDataOpening(std::string_view expected, std::string_view found,
                                   std::size_t position);
EJclSimpleXMLError CDataNotClosed(std::size_t position);
EJclSimpleXMLError BadHeaderOpening(std::string_view expected, std::string_view found,
                                    std::size_t position);
EJclSimpleXMLError NestingTooDeep(std::size_t limit, std::size_t position);
EJclCharsetError UnknownCharset();

// Lookups on a parsed tree.
EJclSimpleXMLError IndexOutOfRange(std::size_t index, std::size_t count);
EJclSimpleXMLError NoElementNamed(std::string_view name);
EJclSimpleXMLError NoPropertyNamed(std::string_view name);

}  // namespace quill::simple_xml_errors
