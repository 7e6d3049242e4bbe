// Marking edited boxes red, through an event filter each box owns.
#include "widgets/edit_marker.h"

#include "widgets/box_colours.h"

#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

namespace {

class EditMarker final : public QObject {
public:
    explicit EditMarker(QObject* box) : QObject(box) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            const bool editing = !key->text().isEmpty() && key->key() != Qt::Key_Tab
                                 && key->key() != Qt::Key_Backtab && key->key() != Qt::Key_Escape
                                 && key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter;
            if (editing)
                setBoxColour(static_cast<QWidget*>(watched), BoxColour::Red);
        }
        return false;
    }
};

} // namespace

void markRedOnEdit(QWidget* box)
{
    box->installEventFilter(new EditMarker(box));
}
