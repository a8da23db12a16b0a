#pragma once

// Angles that a user may be handed, and the whole catalogue of hostile files with them.

#include "HostileCases.h"

// Angles of fin sets, launch lugs and rail buttons that are huge, negative, not finite or
// missing: the aids are drawn, what can be placed is marked, and the rest is told.
inline std::vector<HostileCase> AngleHostileCases() {
    using namespace hostile_detail;
    using namespace ork_files;
    std::vector<HostileCase> c;
    auto file = [&c](const char* name, const char* fileName, const QByteArray& bytes,
                     const HostileOutcome& expect) {
        c.push_back({name, [=](const QDir& d) { return writeFile(d, fileName, bytes); }, expect});
    };
    auto rktFins = [](const QByteArray& angle) {
        return fins("4", "75", "50", "3")
            .replace("</FinSet>", "<RadialAngle>" + angle +
                                      "</RadialAngle>\n"
                                      "</FinSet>");
    };
    auto rktLug = [](const QByteArray& angle) {
        return "<LaunchLug>\n<Name>Lug</Name>\n<OD>6</OD>\n" +
               (angle.isNull() ? QByteArray() : "<RadialAngle>" + angle + "</RadialAngle>\n") +
               "</LaunchLug>\n";
    };
    auto rkt = [](const QByteArray& attached) {
        return doc("<Name>Angles</Name>\n", tube("41.6", "40.5", "300", attached));
    };
    const QByteArray unknownSet = "No other part on the tube is marked: the angle of fin set 1";
    file("RockSim fin angle of 1e300 radians", "a.rkt", rkt(rktFins("1e300") + rktLug("0")),
         Drawn("Number: 4",
               unknownSet + QByteArray(" (\"Fins\") is unknown (its angle is more "
                                       "than a billion degrees)."),
               {}));
    file("RockSim lug angle negative and past many turns", "b.rkt",
         rkt(rktFins("-0.5") + rktLug("-123.4")), Drawn("Number: 4", {}, "lug"));
    file("RockSim lug angle not finite", "c.rkt", rkt(rktFins("0") + rktLug("1e999")),
         Drawn("Number: 4", "its angle \"1e999\" is not a usable number", {}));
    file("RockSim fin angle NaN", "d.rkt", rkt(rktFins("nan") + rktLug("0.5")),
         Drawn("Number: 4", unknownSet, {}));
    file("RockSim lug without an angle", "e.rkt", rkt(rktFins("0") + rktLug(QByteArray())),
         Drawn("Number: 4", {}, "lug"));
    const auto ork = [](const QByteArray& subs) {
        return Doc(Stage(Tube("0.0208", subs)), "Angles");
    };
    const auto orkFins = [](const QByteArray& params) {
        return Fins("<fincount>4</fincount>" + params);
    };
    file("OpenRocket lug direction 1e400", "f.ork",
         ork(orkFins("") + Part("launchlug", "<name>L</name><radialdirection>1e400"
                                             "</radialdirection>")),
         Drawn("Number: 4", "its angle \"1e400\" is not a usable number", {}));
    file("OpenRocket rail button without an angle", "g.ork",
         ork(orkFins("") + Part("railbutton", "<name>B</name>")), Drawn("Number: 4", {}, "rail"));
    file("OpenRocket fin angle of -1e10 degrees", "h.ork",
         ork(orkFins("<angleoffset>-1e10</angleoffset>") +
             Part("railbutton", "<name>B</name><angleoffset>45</angleoffset>")),
         Drawn("Number: 4", "is unknown (its angle is more than a billion degrees).", {}));
    file("OpenRocket second fin set's angle NaN", "i.ork",
         ork(orkFins("<angleoffset>-725</angleoffset>") + orkFins("<rotation>NaN</rotation>") +
             Part("launchlug", "<name>L</name><radialdirection>-30</radialdirection>")),
         Drawn("Number: 4", "Fin set 2 (\"Fins\") is not marked: its angle \"NaN\"", "lug"));
    return c;
}

inline std::vector<HostileCase> AllHostileCases() {
    std::vector<HostileCase> all = HostileCases();
    for (HostileCase& c : OpenRocketHostileCases())
        all.push_back(std::move(c));
    for (HostileCase& c : AngleHostileCases())
        all.push_back(std::move(c));
    return all;
}
