#pragma once

#include "RiriExport.h"

#include <QString>
#include <stdexcept>

namespace Riri {

// An error raised out of the component to its caller: a number (an SQLite
// result code for database failures) and a description text.
class RIRI_EXPORT Error : public std::runtime_error {
public:
    Error(int number, const QString& description)
        : std::runtime_error(description.toStdString()), m_number(number),
          m_description(description) {}

    int number() const noexcept { return m_number; }
    const QString& description() const noexcept { return m_description; }

private:
    int m_number;
    QString m_description;
};

} // namespace Riri
