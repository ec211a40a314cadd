#include <Riri/DecryptingReader.h>
#include <Riri/EncryptingWriter.h>
#include <Riri/OffsiteKey.h>

#include <QBuffer>
#include <QRandomGenerator>
#include <QTest>
#include <optional>

using Riri::DecryptingReader;
using Riri::EncryptingWriter;
using Riri::KeyLimits;
using Riri::OffsiteKey;

namespace {

constexpr int kHeaderBytes = 80;
constexpr int kTagBytes = 17;
constexpr int kMacBytes = 16;

QByteArray randomBytes(int size, quint32 seed) {
    QRandomGenerator random(seed);
    QByteArray bytes(size, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(random.bounded(256));
    }
    return bytes;
}

// The plain bytes sealed with the key, written in pieces of `piece` bytes.
QByteArray seal(const QByteArray& plain, const OffsiteKey& key, int chunk, int piece = 1000) {
    QByteArray sealed;
    QBuffer target(&sealed);
    target.open(QIODevice::WriteOnly);
    EncryptingWriter writer(target, key, chunk);
    if (!writer.open(QIODevice::WriteOnly)) {
        return {};
    }
    for (int at = 0; at < plain.size(); at += piece) {
        writer.write(plain.mid(at, piece));
    }
    return writer.finish() ? sealed : QByteArray();
}

// The plain content, or nothing when the reader refused the stream with the
// one message it gives for every refusal.
std::optional<QByteArray> unseal(QByteArray sealed, const std::optional<OffsiteKey>& key,
                                 const QString& passphrase = QString()) {
    QBuffer source(&sealed);
    source.open(QIODevice::ReadOnly);
    DecryptingReader reader =
        key ? DecryptingReader(source, *key) : DecryptingReader(source, passphrase);
    QByteArray plain;
    if (reader.open(QIODevice::ReadOnly)) {
        char buffer[777];
        qint64 got = 0;
        while ((got = reader.read(buffer, sizeof buffer)) > 0) {
            plain.append(buffer, got);
        }
    }
    if (!reader.complete() || reader.failed()) {
        if (reader.errorString() != DecryptingReader::refusedMessage()) {
            qWarning() << "unexpected error text" << reader.errorString();
            return QByteArray("wrong message");
        }
        return std::nullopt;
    }
    return plain;
}

const OffsiteKey& testKey() {
    static const OffsiteKey key =
        OffsiteKey::derive(QStringLiteral("correct horse battery"), KeyLimits::minimal());
    return key;
}

} // namespace

class tst_OffsiteStream : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void changedByteRefused_data();
    void changedByteRefused();
    void cutOrExtendedRefused_data();
    void cutOrExtendedRefused();
    void passphrase_data();
    void passphrase();
};

void tst_OffsiteStream::roundTrip_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("chunk");
    QTest::addColumn<int>("piece");
    QTest::newRow("empty") << 0 << 64 << 10;
    QTest::newRow("one byte") << 1 << 64 << 10;
    QTest::newRow("one short of a chunk") << 63 << 64 << 7;
    QTest::newRow("exactly one chunk") << 64 << 64 << 64;
    QTest::newRow("exactly three chunks") << 192 << 64 << 1;
    QTest::newRow("a byte past a chunk") << 65 << 64 << 100;
    QTest::newRow("default chunks, odd pieces") << 300001 << EncryptingWriter::kChunkSize << 4097;
    QTest::newRow("default chunks, whole")
        << 2 * EncryptingWriter::kChunkSize << EncryptingWriter::kChunkSize << (1 << 20);
}

void tst_OffsiteStream::roundTrip() {
    QFETCH(int, size);
    QFETCH(int, chunk);
    QFETCH(int, piece);
    const QByteArray plain = randomBytes(size, static_cast<quint32>(size));
    const QByteArray sealed = seal(plain, testKey(), chunk, piece);
    const int chunks = size / chunk + 1 - (size > 0 && size % chunk == 0 ? 1 : 0);
    QCOMPARE(sealed.size(), kHeaderBytes + size + chunks * kTagBytes);
    QVERIFY(!sealed.contains(plain.left(32)) || size < 8);
    QCOMPARE(unseal(sealed, testKey()), std::optional<QByteArray>(plain));
}

void tst_OffsiteStream::changedByteRefused_data() {
    QTest::addColumn<QString>("region");
    QTest::addColumn<int>("copies");
    QTest::newRow("header") << QStringLiteral("header") << 250;
    QTest::newRow("chunk") << QStringLiteral("chunk") << 250;
    QTest::newRow("tag") << QStringLiteral("tag") << 250;
    QTest::newRow("last chunk") << QStringLiteral("last chunk") << 250;
}

void tst_OffsiteStream::changedByteRefused() {
    QFETCH(QString, region);
    QFETCH(int, copies);
    // Four chunks of 64 plain bytes and a last one of 20.
    constexpr int chunk = 64;
    const QByteArray sealed = seal(randomBytes(4 * chunk + 20, 7), testKey(), chunk);
    const int sealedChunk = chunk + kTagBytes;
    const int lastStart = kHeaderBytes + 4 * sealedChunk;
    QRandomGenerator random(qHash(region));
    for (int copy = 0; copy < copies; ++copy) {
        const int nth = random.bounded(4);
        const int chunkStart = kHeaderBytes + nth * sealedChunk;
        int at = 0;
        if (region == QStringLiteral("header")) {
            at = random.bounded(kHeaderBytes);
        } else if (region == QStringLiteral("chunk")) {
            at = chunkStart + random.bounded(sealedChunk - kMacBytes);
        } else if (region == QStringLiteral("tag")) {
            at = chunkStart + sealedChunk - kMacBytes + random.bounded(kMacBytes);
        } else {
            at = lastStart + random.bounded(static_cast<int>(sealed.size()) - lastStart);
        }
        QByteArray changed = sealed;
        changed[at] = static_cast<char>(changed[at] ^ (1 + random.bounded(255)));
        if (unseal(changed, testKey())) {
            QFAIL(qPrintable(QStringLiteral("byte %1 changed was read").arg(at)));
        }
    }
}

void tst_OffsiteStream::cutOrExtendedRefused_data() {
    QTest::addColumn<int>("keep"); // bytes kept; negative counts from the end
    QTest::addColumn<QByteArray>("appended");
    QTest::newRow("nothing") << 0 << QByteArray();
    QTest::newRow("part of the header") << 40 << QByteArray();
    QTest::newRow("header only") << kHeaderBytes << QByteArray();
    QTest::newRow("in the first chunk") << kHeaderBytes + 30 << QByteArray();
    QTest::newRow("at a chunk's end") << kHeaderBytes + 2 * (64 + kTagBytes) << QByteArray();
    QTest::newRow("without the last chunk") << -(20 + kTagBytes) << QByteArray();
    QTest::newRow("last byte gone") << -1 << QByteArray();
    QTest::newRow("a byte added") << 0x7fffffff << QByteArray("\0", 1);
    QTest::newRow("a chunk repeated") << 0x7fffffff << QByteArray("chunk");
}

void tst_OffsiteStream::cutOrExtendedRefused() {
    QFETCH(int, keep);
    QFETCH(QByteArray, appended);
    const QByteArray sealed = seal(randomBytes(3 * 64 + 20, 3), testKey(), 64);
    QByteArray cut = keep < 0 ? sealed.left(sealed.size() + keep) : sealed.left(keep);
    if (appended == "chunk") {
        cut += sealed.mid(kHeaderBytes, 64 + kTagBytes);
    } else {
        cut += appended;
    }
    QVERIFY(!unseal(cut, testKey()));
}

void tst_OffsiteStream::passphrase_data() {
    QTest::addColumn<QString>("given");
    QTest::addColumn<bool>("read");
    QTest::newRow("the same") << QStringLiteral("Grün ist die Heide 7") << true;
    QTest::newRow("another") << QStringLiteral("correct horse battery") << false;
    QTest::newRow("letter case") << QStringLiteral("grün ist die Heide 7") << false;
    QTest::newRow("a blank more") << QStringLiteral("Grün ist die Heide 7 ") << false;
    QTest::newRow("empty") << QString() << false;
}

void tst_OffsiteStream::passphrase() {
    QFETCH(QString, given);
    QFETCH(bool, read);
    const OffsiteKey key =
        OffsiteKey::derive(QStringLiteral("Grün ist die Heide 7"), KeyLimits::minimal());
    const QByteArray plain = randomBytes(1000, 1);
    const QByteArray sealed = seal(plain, key, 256);
    QCOMPARE(unseal(sealed, std::nullopt, given).has_value(), read);
    // A new salt each time: the same passphrase never seals alike.
    QVERIFY(seal(plain, OffsiteKey::derive(given, KeyLimits::minimal()), 256) != sealed);
}

QTEST_GUILESS_MAIN(tst_OffsiteStream)
#include "tst_offsitestream.moc"
