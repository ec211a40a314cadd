#include "HistoryFields.h"

#include "Formats.h"

#include <QByteArray>

namespace Riri {

namespace {

class Reader {
public:
    explicit Reader(const QString& text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    bool take(QChar c) {
        if (!atEnd() && m_text.at(m_pos) == c) {
            ++m_pos;
            return true;
        }
        return false;
    }
    bool name(QString* out) {
        const qsizetype start = m_pos;
        while (!atEnd() && (m_text.at(m_pos).isLetterOrNumber() || m_text.at(m_pos) == u'_')) {
            ++m_pos;
        }
        *out = m_text.mid(start, m_pos - start);
        return !out->isEmpty();
    }
    bool literal(QVariant* out) {
        if (m_text.mid(m_pos, 4) == QLatin1String("NULL")) {
            m_pos += 4;
            *out = QVariant();
            return true;
        }
        if (take(u'\'')) {
            return text(out);
        }
        if (m_text.mid(m_pos, 2) == QLatin1String("X'")) {
            m_pos += 2;
            QVariant hex;
            if (!text(&hex)) {
                return false;
            }
            const QByteArray bytes = QByteArray::fromHex(hex.toString().toLatin1());
            if (bytes.toHex().toUpper() != hex.toString().toLatin1()) {
                return false;
            }
            *out = bytes;
            return true;
        }
        return number(out);
    }

private:
    bool text(QVariant* out) {
        QString value;
        while (!atEnd()) {
            const QChar c = m_text.at(m_pos++);
            if (c == u'\'') {
                if (!take(u'\'')) {
                    *out = value;
                    return true;
                }
            }
            value += c;
        }
        return false;
    }
    bool number(QVariant* out) {
        const qsizetype start = m_pos;
        while (!atEnd() && QStringLiteral("0123456789+-.eE").contains(m_text.at(m_pos))) {
            ++m_pos;
        }
        const QString digits = m_text.mid(start, m_pos - start);
        bool ok = false;
        if (digits.contains(u'.') || digits.contains(u'e') || digits.contains(u'E')) {
            *out = digits.toDouble(&ok);
        } else {
            *out = digits.toLongLong(&ok);
        }
        return ok;
    }

    const QString& m_text;
    qsizetype m_pos = 0;
};

} // namespace

const QStringList& HistoryFields::itemFields() {
    static const QStringList fields{
        QStringLiteral("ItemID"),      QStringLiteral("ItemName"), QStringLiteral("SN"),
        QStringLiteral("Model"),       QStringLiteral("RoomName"), QStringLiteral("Cost"),
        QStringLiteral("CurValue"),    QStringLiteral("BuyDate"),  QStringLiteral("AccquiredFrom"),
        QStringLiteral("Description"), QStringLiteral("Notes")};
    return fields;
}

bool HistoryFields::isAmount(const QString& field) {
    return field == QLatin1String("Cost") || field == QLatin1String("CurValue");
}

std::optional<std::vector<HistoryFields::Field>> HistoryFields::parse(const QString& packed) {
    std::vector<Field> fields;
    Reader reader(packed);
    while (!reader.atEnd()) {
        Field field;
        if (!reader.name(&field.name) || !reader.take(u'=') || !reader.literal(&field.value)) {
            return std::nullopt;
        }
        if (reader.take(u'>')) {
            field.isChange = true;
            field.oldValue = field.value;
            if (!reader.literal(&field.value)) {
                return std::nullopt;
            }
        }
        if (!reader.take(u'\n')) {
            return std::nullopt;
        }
        fields.push_back(std::move(field));
    }
    return fields;
}

QVariant HistoryFields::valueOf(const std::vector<Field>& fields, const QString& name) {
    for (const Field& field : fields) {
        if (field.name == name) {
            return field.value;
        }
    }
    return QVariant();
}

QString HistoryFields::literal(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return QStringLiteral("NULL");
    case QMetaType::Double:
        return sqlNumber(value.toDouble());
    case QMetaType::LongLong:
        return QString::number(value.toLongLong());
    case QMetaType::QByteArray:
        return QStringLiteral("X'%1'").arg(QString::fromLatin1(value.toByteArray().toHex()));
    default: {
        QString text = value.toString();
        text.replace(QLatin1Char('\''), QLatin1String("''"));
        return QLatin1Char('\'') + text + QLatin1Char('\'');
    }
    }
}

} // namespace Riri
