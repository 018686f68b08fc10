#pragma once
#include <array>
#include <initializer_list>

class QAbstractButton;
class QObject;

namespace tamboro {

class TDM1;

// Impression check boxes by number: entry i (1 to 10) is box i; entry 0 is
// unused so that numbers index it directly.
using ImpressBoxTable = std::array<QAbstractButton*, 11>;

// Looks up the boxes named prefix + n (n = 1 to 10) among window's children;
// a missing box stays null.
ImpressBoxTable findImpressBoxes(const QObject& window, const char* prefix);

// Captions box i of every table with the i-th impression name in IMP_NO
// order; past the last name the last one repeats, as walking the list and
// staying on its last row gives. Null tables and boxes are skipped.
void captionImpressBoxes(TDM1& dm, std::initializer_list<const ImpressBoxTable*> tables);

}  // namespace tamboro
