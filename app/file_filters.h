// The open and save dialogs' filters, from the engine's format table, in
// Qt's filter syntax, and the maker's addresses.
#pragma once

#include <QString>
#include <string>

namespace quillet {

// The open dialog lists every format the engine reads; the save dialog every
// format it writes, after "All files".
QString OpenFilter();
QString SaveFilter();

inline constexpr const char* kHomePage = "https://brenmor.example/quillet/";
inline constexpr const char* kSupportMail = "mailto:support@brenmor.example";

// "Name|*.a;*.b|..." becomes "Name (*.a *.b);;...". Patterns match any case.
QString QtFileFilter(const std::string& filter);

}  // namespace quillet
