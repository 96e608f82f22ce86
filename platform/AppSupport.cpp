#include <QCoreApplication>
#include <QMetaObject>

#include "platform/AppSupport.h"
#include "platform/Application.h"
#include "platform/qt/Internals.h"

int modalDepth()
{
    return int(modalRuns().size());
}

void postToMessageLoop(std::function<void()> call)
{
    ensureApplication();
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [call = std::move(call)] { guarded([&] { call(); }); },
        Qt::QueuedConnection);
}
