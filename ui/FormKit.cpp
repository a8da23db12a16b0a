#include "FormKit.h"

#include "Twips.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace vanecraft {

QFont FontOf(const char* family, double points, bool bold, bool italic) {
    QFont f(QString::fromLatin1(family));
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

void MakeBlue(QWidget* w) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, QColor(0, 0, 255));
    w->setPalette(p);
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, QRect r,
                  const QFont& font) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(r);
    l->setFont(font);
    l->setWordWrap(true);
    return l;
}

QLineEdit* MakeTextBox(QWidget* parent, const char* name, QRect r, const QFont& font) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setGeometry(r);
    e->setFont(font);
    return e;
}

void MakeLine(QWidget* parent, const char* name, double x1, double y1, double x2, double y2,
              const QColor& colour) {
    auto* f = new QFrame(parent);
    f->setObjectName(QString::fromLatin1(name));
    f->setFrameShape(QFrame::NoFrame);
    f->setAutoFillBackground(true);
    QPalette p = f->palette();
    p.setColor(QPalette::Window, colour);
    f->setPalette(p);
    const bool horizontal = y1 == y2;
    f->setGeometry(Px(x1), Px(y1), horizontal ? std::max(1, Px(x2 - x1)) + 1 : 1,
                   horizontal ? 1 : std::max(1, Px(y2 - y1)) + 1);
}

QLabel* MakeTitle(QWidget* parent, QRect r, double points) {
    QLabel* l = MakeLabel(parent, "Label11", QStringLiteral("Vanecraft!"), r,
                          FontOf("Comic Sans MS", points, true));
    l->setAlignment(Qt::AlignCenter);
    l->setWordWrap(false);
    MakeBlue(l);
    return l;
}

QPushButton* MakeOkButton(QWidget* parent, QRect r, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QStringLiteral("cmdOK"));
    b->setGeometry(r);
    b->setDefault(true);
    b->setAutoDefault(true);
    return b;
}

} // namespace vanecraft
