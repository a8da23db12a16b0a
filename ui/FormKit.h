#pragma once

#include <QFont>
#include <QRect>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace vanecraft {

// Helpers for the program's fixed-layout forms, positions in twips.
QFont FontOf(const char* family, double points, bool bold = false, bool italic = false);
void MakeBlue(QWidget* w);
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, QRect r,
                  const QFont& font);
QLineEdit* MakeTextBox(QWidget* parent, const char* name, QRect r, const QFont& font);
// A one-pixel line from (x1, y1) to (x2, y2), horizontal or vertical.
void MakeLine(QWidget* parent, const char* name, double x1, double y1, double x2, double y2,
              const QColor& colour);
// The blue "Vanecraft!" that heads every form.
QLabel* MakeTitle(QWidget* parent, QRect r, double points);
// The OK button that is the default and the cancel button of a form.
QPushButton* MakeOkButton(QWidget* parent, QRect r, const QString& text = QStringLiteral("OK"));

} // namespace vanecraft
