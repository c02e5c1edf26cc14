#include "tools/sim/DeviceLink.h"

#include <QFile>

#include <cstdio>

DeviceLink::DeviceLink(const QString& link, const std::string& device)
    : link_(link)
    , device_(QString::fromStdString(device))
{
    const QString fresh = link + ".new";
    QFile::remove(fresh);
    QFile::link(device_, fresh);
    std::rename(fresh.toLocal8Bit().constData(), link.toLocal8Bit().constData());
}

DeviceLink::~DeviceLink()
{
    if (QFile::symLinkTarget(link_) == device_)
        QFile::remove(link_);
}
