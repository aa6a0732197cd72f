#include "datetime/records.hpp"

#include <string>

namespace karpa {
namespace {

// Trivially constructible, so reaching them costs no initialisation guard.
thread_local Timezone tlsUtcZone;
thread_local const Timezone* tlsUtcMade = nullptr;

}  // namespace

const Timezone& utc() {
    if (tlsUtcMade == nullptr) [[unlikely]] {
        tlsUtcZone.name = "Etc/UTC";
        tlsUtcMade = &tlsUtcZone;
    }
    return *tlsUtcMade;
}

void uninitializedDateTimeError(std::string_view position) {
    std::string message(position);
    message += " `dt.monthdayZero != 0` Uninitialized datetime";
    raise(ErrorKind::AssertionDefect, std::move(message));
}

}  // namespace karpa
