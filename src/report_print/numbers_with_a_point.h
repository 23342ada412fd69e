#pragma once

namespace vesk {

// Makes every number the program writes use a point, whatever the user's locale: a Qt
// application takes the locale of the environment as it starts (a comma decimal under de_DE),
// which printf and Qt's own formatting would then follow into files, reports and charts. Call it
// right after the application object is made. Texts, dates and sorting keep the user's locale.
void write_numbers_with_a_point();

}  // namespace vesk
