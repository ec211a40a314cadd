#include "ScopedEnv.h"

#include <QtGlobal>

ScopedEnv::ScopedEnv(const char* name, const QByteArray& value)
    : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name)) {
    if (value.isNull()) {
        qunsetenv(name);
    } else {
        qputenv(name, value);
    }
}

ScopedEnv::~ScopedEnv() {
    if (m_had) {
        qputenv(m_name, m_old);
    } else {
        qunsetenv(m_name);
    }
}
