#include "datetime/calendar.hpp"

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

void invalidDateError(int64_t monthday, uint8_t month, int64_t year) {
    char field[kMaxIntText];
    std::string message = "times(486, 3) `monthday <= getDaysInMonth(month, year)` ";
    message += decimalText(year);
    message += '-';
    message.append(field, writeTwoDigitField(field, month));
    message += '-';
    message += decimalText(monthday);
    message += " is not a valid date";
    raise(ErrorKind::AssertionDefect, std::move(message));
}

void uninitializedDateTimeError(std::string_view position) {
    std::string message(position);
    message += " `dt.monthdayZero != 0` Uninitialized datetime";
    raise(ErrorKind::AssertionDefect, std::move(message));
}

char* writeWideField(char* out, int64_t value) {
    if (value < 0) {
        *out++ = '-';
        value = checkedNeg(value);
    }
    if (value < 10) *out++ = '0';
    return writeInt(out, value);
}

}  // namespace karpa
