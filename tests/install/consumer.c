/* A small program built against an installed Karpa. */
#include <stdio.h>
#include <string.h>

#include <karpa/karpa.h>

int main(void) {
    const int ok = strcmp(seq_sort_int("3,1,2", 0), "1,2,3") == 0 && strcmp(cur_median_int("4,1,3,2"), "2.5") == 0 &&
                   strcmp(dt_ts_to_ymd(0), "1970-01-01") == 0 &&
                   strcmp(md5_hash("abc", 3), "900150983CD24FB0D6963F7D28E17F72") == 0;
    printf("%s %d.%d.%d\n", ok ? "consumer ok" : "consumer wrong", KARPA_VERSION_MAJOR, KARPA_VERSION_MINOR,
           KARPA_VERSION_PATCH);
    return ok ? 0 : 1;
}
