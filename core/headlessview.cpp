#include "headlessview.h"

#include <algorithm>

namespace vexel {

int HeadlessView::markedHoleCount() const { return int(std::count(holeMarks.begin(), holeMarks.end(), true)); }

}  // namespace vexel
