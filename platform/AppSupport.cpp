#include "platform/AppSupport.h"

#include "platform/qt/Internals.h"

int modalDepth()
{
    return int(modalRuns().size());
}
