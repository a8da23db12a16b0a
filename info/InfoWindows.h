#pragma once

#include <QDialog>

class QPushButton;

namespace vanecraft {

// Fixed-text windows, closed by OK, Enter or Esc.
class InfoWindow : public QDialog {
    Q_OBJECT
public:
    QPushButton* cmdOK = nullptr;

public slots:
    void cmdOK_Click() { close(); }

protected:
    InfoWindow(const char* name, const QString& caption, int innerWidth, int innerHeight,
               bool resizable);
    void addOk(double left, double top, double width, double height);
};

class frmAbout : public InfoWindow {
    Q_OBJECT
public:
    frmAbout();
};

class Help : public InfoWindow {
    Q_OBJECT
public:
    Help();
};

class Report : public InfoWindow {
    Q_OBJECT
public:
    Report();
};

extern const char* const ContactAddress;

} // namespace vanecraft
