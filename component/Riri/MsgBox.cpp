#include "MsgBox.h"

#include <cstdio>
#include <utility>

namespace Riri {

namespace {

MsgBoxHandler& handlerSlot() {
    static MsgBoxHandler handler;
    return handler;
}

} // namespace

int defaultAnswer(int flags) {
    const int buttons = flags & kButtonMask;
    const int index = (flags & kDefaultMask) / vbDefaultButton2; // 0, 1 or 2
    switch (buttons) {
    case vbOKCancel:
        return index == 1 ? vbCancel : vbOK;
    case vbAbortRetryIgnore:
        return index == 2 ? vbIgnore : (index == 1 ? vbRetry : vbAbort);
    case vbYesNoCancel:
        return index == 2 ? vbCancel : (index == 1 ? vbNo : vbYes);
    case vbYesNo:
        return index == 1 ? vbNo : vbYes;
    case vbRetryCancel:
        return index == 1 ? vbCancel : vbRetry;
    default:
        return vbOK;
    }
}

int MsgBox(const QString& prompt, int flags, const QString& title) {
    const MsgBoxHandler& handler = handlerSlot();
    if (handler) {
        return handler(prompt, flags, title);
    }
    std::fprintf(stderr, "[%s] %s\n", title.toLocal8Bit().constData(),
                 prompt.toLocal8Bit().constData());
    return defaultAnswer(flags);
}

MsgBoxHandler setMsgBoxHandler(MsgBoxHandler handler) {
    return std::exchange(handlerSlot(), std::move(handler));
}

} // namespace Riri
