// Hands a streaming parser's element events to an XmlVisitor, for both
// platforms' parsers: counts the depth and refuses a document nested too
// deep, leaves out what the visitor skips, stops telling it after it stops,
// and keeps what it throws, which must not cross the parser's C or COM
// frames, for the reader to throw again once the parser has returned.
#pragma once

#include <exception>
#include <string>

#include "xml_reader.h"

namespace lwp::platform {

class XmlEventWalk {
 public:
  explicit XmlEventWalk(XmlVisitor &visitor) : visitor_(visitor) {}

  // An element starts or ends; false when the parse must end here.
  bool start(const XmlElement &element);
  bool end();
  // Ends the parse for why, unless an earlier reason was given.
  void refuse(std::string why);

  // Why the parse was ended; empty when it was not.
  const std::string &problem() const { return problem_; }
  // Throws what the visitor threw, if it did.
  void rethrow() const;

 private:
  template <class Call>
  bool guarded(Call call);

  XmlVisitor &visitor_;
  int depth_ = 0;
  int skipDepth_ = 0;  // of the element whose children are skipped; 0 for none
  bool stopped_ = false;
  std::string problem_;
  std::exception_ptr thrown_;
};

}  // namespace lwp::platform
