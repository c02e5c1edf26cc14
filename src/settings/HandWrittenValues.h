#pragma once
// Path values as a person types them into the settings file: unquoted, up to the line end. The
// settings library takes a ";" in such a value for the start of a comment and ", " for a list,
// so "/data/shift;night.dif" would be read, and written back, as "/data/shift". The station's own
// writes quote such a value and are read by the library as ever.

#include <QByteArray>
#include <QList>
#include <QString>
#include <vector>

// The lines of a settings file, whichever line ends it has (CR LF, LF, CR).
QList<QByteArray> SettingsLines(const QByteArray& iniText);

// "LogFilePath", "TxtFilePath" and "PortDevice<n>", in any case.
bool IsPathKey(const QString& key);

struct HandWrittenValue {
    QString section; // as spelt in the file; empty for a key above the first section
    QString key;
    QString value; // the whole text after "=", without the spaces around it
};

// Every path key in `iniText` (UTF-8, no byte-order mark) whose value is unquoted and holds a ";"
// or a ",", in file order.
std::vector<HandWrittenValue> HandWrittenPathValues(const QByteArray& iniText);
