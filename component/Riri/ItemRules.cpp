#include "ItemRules.h"

namespace Riri::ItemRules {

const QStringList& rooms() {
    static const QStringList list{QStringLiteral("Attic"),
                                  QStringLiteral("Back Porch"),
                                  QStringLiteral("Back Yard"),
                                  QStringLiteral("Bathroom 2"),
                                  QStringLiteral("Bathroom 3"),
                                  QStringLiteral("Bathroom 4"),
                                  QStringLiteral("Bathroom 5"),
                                  QStringLiteral("Bathroom 6"),
                                  QStringLiteral("BedRoom 2"),
                                  QStringLiteral("BedRoom 3"),
                                  QStringLiteral("BedRoom 4"),
                                  QStringLiteral("BedRoom 5"),
                                  QStringLiteral("BedRoom 6"),
                                  QStringLiteral("Breakfast Room"),
                                  QStringLiteral("Den"),
                                  QStringLiteral("Dining Room"),
                                  QStringLiteral("Family Room"),
                                  QStringLiteral("Foyer"),
                                  QStringLiteral("Front Porch"),
                                  QStringLiteral("Front Yard"),
                                  QStringLiteral("Game Room"),
                                  QStringLiteral("Garage"),
                                  QStringLiteral("Kitchen"),
                                  QStringLiteral("Laundry Room"),
                                  QStringLiteral("Living Room"),
                                  QStringLiteral("Master Bathroom"),
                                  QStringLiteral("Master Bedroom"),
                                  QStringLiteral("Mud Room"),
                                  QStringLiteral("Pantry"),
                                  QStringLiteral("Play Room"),
                                  QStringLiteral("Side Porch"),
                                  QStringLiteral("Side Yard"),
                                  QStringLiteral("Storage Room"),
                                  QStringLiteral("Utility Room"),
                                  QStringLiteral("Other")};
    return list;
}

QString roomNamed(QStringView text) {
    for (const QString& room : rooms()) {
        if (text.compare(room, Qt::CaseInsensitive) == 0) {
            return room;
        }
    }
    return QString();
}

bool isPlainAmount(QStringView text) {
    const auto isDigit = [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); };
    qsizetype i = 0;
    if (i < text.size() && text.at(i) == QLatin1Char('-')) {
        ++i;
    }
    const qsizetype firstDigit = i;
    while (i < text.size() && isDigit(text.at(i))) {
        ++i;
    }
    if (i == firstDigit) {
        return false;
    }
    if (i < text.size() && text.at(i) == QLatin1Char('.')) {
        ++i;
        while (i < text.size() && isDigit(text.at(i))) {
            ++i;
        }
    }
    return i == text.size();
}

} // namespace Riri::ItemRules
