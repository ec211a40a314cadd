#pragma once

#include <QThread>
#include <functional>
#include <memory>

class QObject;

namespace Riri {
class dllHome;
class Recordset;
} // namespace Riri

// Reads, once and on a thread of its own, what a search needs of the items'
// evidence beyond their counts (dllHome::LoadEvidenceDetails), and hands the
// rows (none when they could not be read) to `deliver` on the receiver's
// thread while the receiver lives. Deleting it waits for the read to end; a
// delivery still queued then is the receiver's to drop.
class EvidenceDetailsReader {
public:
    using Deliver = std::function<void(std::shared_ptr<Riri::Recordset>)>;

    EvidenceDetailsReader(std::unique_ptr<Riri::dllHome> home, QObject* receiver, Deliver deliver);
    ~EvidenceDetailsReader();
    EvidenceDetailsReader(const EvidenceDetailsReader&) = delete;
    EvidenceDetailsReader& operator=(const EvidenceDetailsReader&) = delete;

private:
    std::unique_ptr<QThread> m_thread;
};
