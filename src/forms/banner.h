#pragma once

class QWidget;

namespace vesk {

// The strip above the main window's file names: the product title and the maker's name.
QWidget* make_banner(QWidget* parent);

}  // namespace vesk
