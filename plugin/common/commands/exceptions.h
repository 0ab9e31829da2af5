// The clip side's error family. Thrown by value, caught by reference to
// CBaseEx; deliberately not derived from std::exception, so handlers for
// standard exceptions leave them alone.
#pragma once

#include <string>

namespace lw::ex {

class CBaseEx {
 public:
  explicit CBaseEx(std::string message);
  CBaseEx(const CBaseEx &) = default;
  CBaseEx &operator=(const CBaseEx &) = default;
  virtual ~CBaseEx();

  const std::string &message() const { return message_; }

 private:
  std::string message_;
};

// An empty command line handed to eval.
class CEvalEx : public CBaseEx {
 public:
  using CBaseEx::CBaseEx;
  CEvalEx(const CEvalEx &) = default;
  CEvalEx &operator=(const CEvalEx &) = default;
  ~CEvalEx() override;
};

// A clip file that cannot be opened, read or written.
class CFileReadWriteEx : public CBaseEx {
 public:
  using CBaseEx::CBaseEx;
  CFileReadWriteEx(const CFileReadWriteEx &) = default;
  CFileReadWriteEx &operator=(const CFileReadWriteEx &) = default;
  ~CFileReadWriteEx() override;
};

}  // namespace lw::ex
