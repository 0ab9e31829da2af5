#include "xml_event_walk.h"

namespace lwp::platform {

template <class Call>
bool XmlEventWalk::guarded(Call call) {
  try {
    call();
    return true;
  } catch (...) {
    thrown_ = std::current_exception();
    stopped_ = true;
    return false;
  }
}

bool XmlEventWalk::start(const XmlElement &element) {
  if (++depth_ > kMaxElementDepth) {
    refuse("The document nests elements deeper than " + std::to_string(kMaxElementDepth) + " levels.");
    return false;
  }
  if (stopped_ || skipDepth_ != 0) return true;
  return guarded([&] {
    const XmlStep step = visitor_.enter(element);
    stopped_ = step == XmlStep::Stop;
    if (step == XmlStep::Skip) skipDepth_ = depth_;
  });
}

bool XmlEventWalk::end() {
  const bool visited = !stopped_ && skipDepth_ == 0;
  if (skipDepth_ == depth_) skipDepth_ = 0;
  --depth_;
  return !visited || guarded([&] { visitor_.leave(); });
}

void XmlEventWalk::refuse(std::string why) {
  if (problem_.empty()) problem_ = std::move(why);
  stopped_ = true;
}

void XmlEventWalk::rethrow() const {
  if (thrown_) std::rethrow_exception(thrown_);
}

}  // namespace lwp::platform
