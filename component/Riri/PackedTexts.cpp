#include "PackedTexts.h"

#include <QStringDecoder>

namespace Riri {

void PackedTexts::appendUtf8(const char* text, qsizetype bytes) {
    if (bytes > 0) {
        // A UTF-8 text never has more UTF-16 units than bytes.
        const size_t begin = m_text.size();
        m_text.resize(begin + static_cast<size_t>(bytes));
        // A U+FEFF at the start is part of the text, not a byte-order mark.
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                         QStringDecoder::Flag::ConvertInitialBom);
        QChar* out = reinterpret_cast<QChar*>(m_text.data() + begin);
        const QChar* end = decoder.appendToBuffer(out, QByteArrayView(text, bytes));
        m_text.resize(begin + static_cast<size_t>(end - out));
    }
    m_cellEnd.push_back(static_cast<std::uint32_t>(m_text.size()));
}

} // namespace Riri
