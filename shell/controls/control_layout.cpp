#include "shell/controls/control_layout.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace wordloom::shell {

TAlign AlignOf(const QWidget* widget) {
    const QVariant value = widget->property("Align");
    return value.isValid() ? value.value<TAlign>() : TAlign::alNone;
}

void AlignControls(QWidget* container, const QRect& client) {
    std::vector<QWidget*> byAlign[6];
    for (QObject* child : container->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (!widget || widget->isWindow() || widget->isHidden())
            continue;
        const TAlign align = AlignOf(widget);
        if (align != TAlign::alNone)
            byAlign[int(align)].push_back(widget);
    }
    // Stable sorts keep the creation order among controls that stand at the same place.
    std::stable_sort(byAlign[int(TAlign::alTop)].begin(), byAlign[int(TAlign::alTop)].end(),
                     [](QWidget* a, QWidget* b) { return a->y() < b->y(); });
    std::stable_sort(byAlign[int(TAlign::alBottom)].begin(), byAlign[int(TAlign::alBottom)].end(),
                     [](QWidget* a, QWidget* b) { return a->y() > b->y(); });
    std::stable_sort(byAlign[int(TAlign::alLeft)].begin(), byAlign[int(TAlign::alLeft)].end(),
                     [](QWidget* a, QWidget* b) { return a->x() < b->x(); });
    std::stable_sort(byAlign[int(TAlign::alRight)].begin(), byAlign[int(TAlign::alRight)].end(),
                     [](QWidget* a, QWidget* b) { return a->x() > b->x(); });
    QRect rest = client;
    for (QWidget* widget : byAlign[int(TAlign::alTop)]) {
        widget->setGeometry(rest.left(), rest.top(), rest.width(), widget->height());
        rest.setTop(rest.top() + widget->height());
    }
    for (QWidget* widget : byAlign[int(TAlign::alBottom)]) {
        widget->setGeometry(rest.left(), rest.bottom() + 1 - widget->height(), rest.width(),
                            widget->height());
        rest.setBottom(rest.bottom() - widget->height());
    }
    for (QWidget* widget : byAlign[int(TAlign::alLeft)]) {
        widget->setGeometry(rest.left(), rest.top(), widget->width(), std::max(0, rest.height()));
        rest.setLeft(rest.left() + widget->width());
    }
    for (QWidget* widget : byAlign[int(TAlign::alRight)]) {
        widget->setGeometry(rest.right() + 1 - widget->width(), rest.top(), widget->width(),
                            std::max(0, rest.height()));
        rest.setRight(rest.right() - widget->width());
    }
    for (QWidget* widget : byAlign[int(TAlign::alClient)])
        widget->setGeometry(rest.left(), rest.top(), std::max(0, rest.width()), std::max(0, rest.height()));
}

void RequestAlign(QWidget* control) {
    if (QWidget* container = control ? control->parentWidget() : nullptr)
        QCoreApplication::postEvent(container, new QEvent(QEvent::LayoutRequest));
}

} // namespace wordloom::shell
