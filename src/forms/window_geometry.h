#pragma once

class QWidget;

namespace vesk {

// Every window opens at the screen's top left, 1333 x 800 logical pixels (20000 x 12000 twips),
// clipped to the screen.
void place_top_left(QWidget* window);

}  // namespace vesk
