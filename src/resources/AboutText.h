#pragma once
// Texts of the Help menu: the About box and the user manual's failures. No widgets here.

#include <string>

// The About box's twelve lines joined by CR LF: product and version, author, the maker's name,
// address and contacts. No line end after the last.
std::string AboutText();

// The user manual, opened by the desktop from the working folder, else from beside the program or
// from the installation (help/UserManualPath.h).
inline constexpr char kManualFile[] = "Manual.pdf";
inline constexpr char kManualErrorTitle[] = "Error";

// Why the desktop could not open the manual.
enum class ManualOpenFailure {
    NotFound,      // in none of the places looked at
    AccessDenied,  // there, but not readable
    NoAssociation, // no program for the document
};
std::string ManualOpenFailureText(ManualOpenFailure failure);
