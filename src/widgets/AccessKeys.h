#pragma once
// The string table's captions mostly carry no access key. Dialogs give each of their controls one
// so that the operator reaches every control from the keyboard; captions that carry one keep it.

#include <QString>

class QWidget;

// `caption` with an access key on a letter that is not yet in `taken` (the first letter of a
// word preferred, then any letter), which is then added to `taken`. A caption that has a key
// keeps it, and one without a free letter stays as it is.
QString WithAccessKey(const QString& caption, QString& taken);

// Gives the push buttons, check boxes, labels with a buddy, group boxes and option buttons of
// `window`, in this order, an access key each, keeping the keys the captions already have.
void AssignAccessKeys(QWidget* window);
