#pragma once

#include <QAccessible>
#include <QString>
#include <cstdint>
#include <functional>

#include "velmora/board_widget.h"

namespace velmora {

// Replaces where the widget's accessibility update events go (tests capture them; the
// offscreen platform delivers none); an empty sink restores Qt's own delivery.
VELMORA_QT_EXPORT void SetAccessibilitySink(BoardWidget& widget,
                                            std::function<void(QAccessibleEvent&)> sink);

// Lets Qt find the board's accessible interface: a table named "Chess board" whose children
// are the parts of the core's flat numbering (1 to 64 the squares, 65 the move display, 66 to
// 69 the prompt's choices while it is shown, in edit mode 66 to 78 the spare pieces and the
// eraser, as buttons), child index = part - 1.
void InstallAccessibleFactory();

// Update events at the source, for one part or for the board itself.
void AccessibleEvent(BoardWidget& widget, std::int16_t part, QAccessible::Event type);
void AccessibleValueChanged(BoardWidget& widget, std::int16_t part, const QString& value);
// The states of `part` in `changed` (the board's enabled state, a spare place's pressed) changed.
void AccessibleStateChanged(BoardWidget& widget, std::int16_t part, QAccessible::State changed);

}  // namespace velmora
