// Runs a piece of library code and reports the error it raised, if any.
#pragma once

#include <optional>
#include <string>

#include "frame/error.hpp"

namespace karpa_test {

struct Raised {
    karpa::ErrorKind kind;
    std::string message;
};

template <class Fn>
std::optional<Raised> raisedBy(Fn&& fn) {
    try {
        fn();
    } catch (const karpa::Unwind&) {
        const karpa::ErrorRecord* error = karpa::currentError();
        if (error == nullptr) return Raised{karpa::ErrorKind::AssertionDefect, "<unwound without a record>"};
        Raised r{error->kind, error->message};
        karpa::clearFailure();
        return r;
    }
    return std::nullopt;
}

}  // namespace karpa_test
