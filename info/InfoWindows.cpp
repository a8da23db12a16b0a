#include "InfoWindows.h"

#include "ui/FormKit.h"
#include "ui/Twips.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace vanecraft {

const char* const ContactAddress = "vanecraft@example.org";

namespace {
const char* const Freeware = "Please, note that this software is FREEWARE ...";
QString contact() {
    return QString::fromLatin1(ContactAddress);
}
} // namespace

InfoWindow::InfoWindow(const char* name, const QString& caption, int innerWidth, int innerHeight,
                       bool resizable)
    : QDialog(nullptr) {
    setObjectName(QString::fromLatin1(name));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(caption);
    if (resizable)
        resize(Px(innerWidth), Px(innerHeight));
    else
        setFixedSize(Px(innerWidth), Px(innerHeight));
}

void InfoWindow::addOk(double left, double top, double width, double height) {
    cmdOK = MakeOkButton(this, TwRect(left, top, width, height));
    connect(cmdOK, &QPushButton::clicked, this, &InfoWindow::cmdOK_Click);
}

frmAbout::frmAbout()
    : InfoWindow("frmAbout", QStringLiteral("About Vanecraft"), 5865, 4440, false) {
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    MakeTitle(this, TwRect(840, 0, 4095, 495), 18);
    const QFont text = FontOf("Arial", 9);
    QLabel* lblVersion = MakeLabel(this, "lblVersion", QStringLiteral("V 1.0"),
                                   TwRect(720, 600, 4335, 225), FontOf("Arial", 8.25));
    lblVersion->setAlignment(Qt::AlignCenter);
    QLabel* Label4 =
        MakeLabel(this, "Label4", QStringLiteral("by the Vanecraft project and its contributors"),
                  TwRect(360, 840, 5175, 375), FontOf("Monotype Corsiva", 11.25));
    Label4->setAlignment(Qt::AlignCenter);
    MakeLabel(this, "lblDescription",
              QStringLiteral("This software is an add-on for the RockSim simulation program. You "
                             "can import files in the new XML format and then use one of the two "
                             "tools implemented:"),
              TwRect(240, 1365, 5415, 690), text);
    MakeLabel(this, "Label1", QStringLiteral("1) fins alignment guide,"),
              TwRect(240, 2160, 4695, 210), text);
    MakeLabel(this, "Label2", QStringLiteral("2) body tube wrapper, to help glueing fins."),
              TwRect(240, 2520, 4695, 210), text);
    MakeLine(this, "Line1", 240, 2880, 5672, 2880, Qt::gray);
    MakeLabel(this, "Label3",
              QStringLiteral("Thanks to everyone who made this program possible, and to those "
                             "who helped with its mathematics."),
              TwRect(240, 3120, 5415, 450), text);
    MakeLine(this, "Line1b", 240, 3720, 5672, 3720, Qt::gray);
    MakeLabel(this, "Label5", QString::fromLatin1(Freeware), TwRect(240, 3960, 3900, 255),
              FontOf("Arial", 8.25));
    addOk(4200, 3960, 1467, 315);
    if (QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
}

Help::Help() : InfoWindow("Help", QStringLiteral("Vanecraft help"), 4680, 4605, true) {
    const QFont text = FontOf("Arial", 9);
    MakeTitle(this, TwRect(0, 0, 4695, 615), 18);
    QLabel* Label1 = MakeLabel(this, "Label1", QStringLiteral("Help"), TwRect(1800, 720, 855, 255),
                               FontOf("Arial", 9.75, true));
    Label1->setAlignment(Qt::AlignCenter);
    MakeLabel(this, "lblDescription",
              QStringLiteral("This software should be very simple to use, however,  here it is a "
                             "short help. More to come."),
              TwRect(0, 1080, 4695, 450), text);
    MakeLabel(this, "Label2", QStringLiteral("How to use this software:"),
              TwRect(0, 1680, 4575, 255), text);
    MakeLabel(this, "Label3",
              QStringLiteral("1) Load an xml rocksim file (after this, you should see some values "
                             "about your rocket)"),
              TwRect(0, 2040, 4695, 495), text);
    MakeLabel(this, "Label4",
              QStringLiteral("2) Select the tools you need, from the two available"),
              TwRect(0, 2520, 4695, 255), text);
    MakeLabel(this, "Label5", QStringLiteral("3) Select *print* to get your stuff ;)"),
              TwRect(0, 2760, 4695, 255), text);
    MakeLabel(this, "Label6",
              QStringLiteral("If you need more specific help, just throw me an e-mail: ") +
                  contact(),
              TwRect(0, 3120, 4695, 495), text);
    MakeLabel(this, "Label8", QString::fromLatin1(Freeware), TwRect(0, 3840, 4680, 255),
              FontOf("Arial", 8.25));
    addOk(3120, 4200, 1467, 345);
}

Report::Report() : InfoWindow("Report", QStringLiteral("Reports"), 4575, 3855, true) {
    const QFont text = FontOf("Arial", 9);
    MakeTitle(this, TwRect(0, 0, 4455, 615), 18);
    QLabel* Label3 = MakeLabel(this, "Label3", QStringLiteral("Reports ..."),
                               TwRect(0, 540, 4575, 255), FontOf("Arial", 9.75, true));
    Label3->setAlignment(Qt::AlignCenter);
    MakeLabel(this, "Label7",
              QStringLiteral("If you find some bugs, I'll be very glad if you can report them to "
                             "me. Just leave me an email at: ") +
                  contact(),
              TwRect(0, 840, 4455, 735), text);
    MakeLabel(this, "Label1",
              QStringLiteral("Please, include also the rocksim file that shows the bug."),
              TwRect(0, 1560, 4455, 495), text);
    MakeLine(this, "Line1", 0, 2040, 4575, 2040, Qt::black);
    MakeLabel(this, "Label2",
              QStringLiteral("If you want to be notified as soon as a new version is available "
                             "just send me a blank email with subject \"Vanecraft updates\""),
              TwRect(0, 2040, 4455, 735), text);
    MakeLine(this, "Line2", 0, 2760, 4575, 2760, Qt::black);
    MakeLabel(this, "Label4",
              QStringLiteral("If you want to be a beta-tester for this software or for other "
                             "software I'm going to develop, just send me a blank email with "
                             "subject \"Vanecraft beta-testing\""),
              TwRect(0, 2760, 4455, 735), text);
    addOk(3000, 3480, 1467, 345);
}

} // namespace vanecraft
