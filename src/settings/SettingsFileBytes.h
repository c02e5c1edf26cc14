#pragma once
// Reading the settings file in whatever form a person left it: only a regular file is opened (a
// FIFO would hold start-up for ever, a link to a device would never end), never more than
// kLargestSettingsFile bytes are read, and a UTF-8 byte-order mark in front is set aside.

#include <QByteArray>
#include <QString>

constexpr qint64 kLargestSettingsFile = 1 << 20;

struct SettingsFileBytes {
    bool exists = false;
    bool byteOrderMark = false; // the file began with one; it is not in `bytes`
    QByteArray bytes;
    QString problem; // why the file cannot serve as the settings file; empty when it can
};

SettingsFileBytes ReadSettingsFile(const QString& path);
