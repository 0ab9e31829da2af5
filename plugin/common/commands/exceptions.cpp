#include "exceptions.h"

#include <utility>

namespace lw::ex {

CBaseEx::CBaseEx(std::string message) : message_(std::move(message)) {}
CBaseEx::~CBaseEx() = default;
CEvalEx::~CEvalEx() = default;
CFileReadWriteEx::~CFileReadWriteEx() = default;

}  // namespace lw::ex
