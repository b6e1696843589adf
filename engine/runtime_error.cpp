#include "runtime_error.h"

namespace moxel {

std::string_view RuntimeError::name() const noexcept {
    return what();
}

const char* RuntimeError::what() const noexcept {
    switch (kind_) {
        case ErrorKind::Overflow:
            return "Overflow";
        case ErrorKind::DivisionByZero:
            return "Division by zero";
        case ErrorKind::FloatingPoint:
            return "Floating-point error";
        case ErrorKind::NoSuchControl:
            return "Control array element doesn't exist";
    }
    return "Run-time error";
}

void raiseError(ErrorKind kind) {
    throw RuntimeError(kind);
}

}  // namespace moxel
