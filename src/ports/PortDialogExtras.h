#pragma once
// The options some port dialogs have beyond the port section: the Mettler-Toledo and Wedderburn
// check boxes, which change the main window's flags the moment they are clicked, the parsing
// fields of the ASCII scales and the D410's fixed information.

#include "weighing/ScaleOptions.h"

#include <QGroupBox>
#include <QList>
#include <utility>

class QCheckBox;
class QLineEdit;

// A frame of check boxes, each tied to one flag of the running station.
class FlagFrame : public QGroupBox {
    Q_OBJECT
public:
    FlagFrame(const char* objectName, int captionId, QWidget* parent);
    // `captionId` 0: `literal` is the caption.
    void AddBox(const char* objectName, int captionId, const char* literal, bool& flag);
    // Ticks the boxes whose flags are on.
    void Load();

private:
    QList<std::pair<QCheckBox*, bool*>> boxes_;
};

// "Frame Control": SI , SO, STX, Checksum.
FlagFrame* BuildToledoFrame(QWidget* parent, ToledoOptions& flags);
// "Link Control": Header Code, Stable Sign.
FlagFrame* BuildWedderburnFrame(QWidget* parent, WedderburnOptions& flags);

// "Parsing": header character, weight start position and factor as typed, and the two fixed
// fields that the station never reads.
class ParsingFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit ParsingFrame(QWidget* parent);
    HeaderScaleOptions Fields() const;
    void SetFields(const HeaderScaleOptions& fields);

private:
    QLineEdit* headerBox = nullptr;
    QLineEdit* startPositionBox = nullptr;
    QLineEdit* factorBox = nullptr;
};

// The D410's four fixed fields (interface, flow control, protocol, string type).
QWidget* BuildD410Information(QWidget* parent);
