#pragma once
// Bytes written so they can be read on a terminal: control bytes by name ("<STX>"), bytes
// from 127 up by code ("<149>").

#include <string>

std::string VisibleBytes(const std::string& bytes);
