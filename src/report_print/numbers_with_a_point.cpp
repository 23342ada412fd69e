#include "report_print/numbers_with_a_point.h"

#include <QLocale>

#include <clocale>

namespace vesk {

void write_numbers_with_a_point() {
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());
}

}  // namespace vesk
