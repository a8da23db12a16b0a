#pragma once

#include <QString>

namespace vanecraft {

// While alive, Qt's start-up messages are held back; if the GUI library finds no display that
// answers, which Qt treats as fatal, the user reads one plain sentence naming the settings that
// were tried, and the program ends with exit code `exitCode` instead of aborting.
class DisplayCheck {
public:
    explicit DisplayCheck(int exitCode);
    ~DisplayCheck(); // passes on what was held back: the display answered
    DisplayCheck(const DisplayCheck&) = delete;
    DisplayCheck& operator=(const DisplayCheck&) = delete;
};

// What the user is told when no display answers, given the environment as it stands.
QString NoDisplayMessage();

} // namespace vanecraft
