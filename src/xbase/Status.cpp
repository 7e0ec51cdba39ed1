#include "Status.h"

namespace xbase {

std::string Status::toString() const {
    const char* kind = "";
    switch (code_) {
        case Code::Ok: return "OK";
        case Code::NotFound: kind = "Not found: "; break;
        case Code::Corruption: kind = "Corruption: "; break;
        case Code::IOError: kind = "I/O error: "; break;
        case Code::InvalidArgument: kind = "Invalid argument: "; break;
        case Code::Locked: kind = "Locked: "; break;
        case Code::NotSupported: kind = "Not supported: "; break;
    }
    return kind + message_;
}

}  // namespace xbase
