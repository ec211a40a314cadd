#include "items/EvidenceDetailsReader.h"

#include <Riri/Recordset.h>
#include <Riri/dllHome.h>

#include <QMetaObject>

EvidenceDetailsReader::EvidenceDetailsReader(std::unique_ptr<Riri::dllHome> home, QObject* receiver,
                                             Deliver deliver) {
    std::shared_ptr<Riri::dllHome> reader(std::move(home));
    m_thread.reset(QThread::create([reader, receiver, deliver = std::move(deliver)] {
        std::shared_ptr<Riri::Recordset> rows = reader->LoadEvidenceDetails();
        QMetaObject::invokeMethod(
            receiver, [deliver, rows] { deliver(rows); }, Qt::QueuedConnection);
    }));
    m_thread->setObjectName(QStringLiteral("evidence details reader"));
    m_thread->start();
}

EvidenceDetailsReader::~EvidenceDetailsReader() {
    m_thread->wait();
}
