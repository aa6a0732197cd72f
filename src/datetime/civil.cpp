#include "datetime/civil.hpp"

#include <string>

#include "datetime/datetext.hpp"
#include "frame/codec/textcodec.hpp"

namespace karpa {

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

}  // namespace karpa
