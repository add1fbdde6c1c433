// Placement of controls as form files describe it: an Align per control and the drag mode. Containers
// (the demo's panels and window) line their aligned children up along their edges the same way.
#pragma once

#include <QObject>
#include <QRect>

class QWidget;

namespace wordloom::shell {

namespace ControlLayout {
Q_NAMESPACE
enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
Q_ENUM_NS(TAlign)
enum class TDragMode { dmManual, dmAutomatic };
Q_ENUM_NS(TDragMode)
} // namespace ControlLayout
using ControlLayout::TAlign;
using ControlLayout::TDragMode;

// The Align of a widget (its "Align" property); alNone without one.
TAlign AlignOf(const QWidget* widget);
// Lays the aligned child controls of `container` out in `client`: the top ones from the top down (in
// the order of their vertical positions), the bottom ones from the bottom up, then the left ones and the
// right ones in the space between, and the client one in what is left. Unaligned children keep their
// place; windows (menus) are not controls.
void AlignControls(QWidget* container, const QRect& client);
// Asks the control's container to align its controls again (at the next event-loop turn).
void RequestAlign(QWidget* control);

} // namespace wordloom::shell
