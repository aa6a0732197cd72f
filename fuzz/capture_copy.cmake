# Copies one library source for the fuzz build, rewriting simple lambda
# captures `[x](` into `[x = x](`. The two mean the same; the second also
# compiles under clang releases that cannot capture structured bindings.
file(READ ${SOURCE} text)
string(REGEX REPLACE "\\[([a-z][A-Za-z0-9_]*)\\]\\(" "[\\1 = \\1](" text "${text}")
file(WRITE ${OUTPUT}.tmp "${text}")
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
