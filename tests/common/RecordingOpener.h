#pragma once

#include "widgets/OpenerWindow.h"

#include <QList>

// An opener that keeps every notification a window sends it, in order.
struct RecordingOpener : corvale::OpenerWindow {
    QList<int> codes;
    void receiveNotification(int code) override { codes << code; }
};
