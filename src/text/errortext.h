#pragma once

// The words for a failure: the windows and the command-line tool show an
// Error of the core through these, so both say the same.

#include "prx/result.h"

#include <QString>

namespace qm::text {

// The two refusals of a check that the windows show as they stand.
inline const QString kMsgValueEmpty = QStringLiteral("One of the value is empty");
inline const QString kMsgBmpMax = QStringLiteral("BMP Max Size it's 32767 bytes");

// What went wrong in general: "File not found", or the check's own message.
QString errorDescription(const Error& error);
// What exactly: the value, the file, the field ("ClockX: ..."); may be empty.
QString errorDetail(const Error& error);
// The text the windows show: the check message itself, or
// "Error N occurred! (description)".
QString userText(const Error& error);
// userText naming the file `fileName` too, after the detail:
// "Error 5 occurred! (Invalid procedure call or argument: UMDIconMusic: ...
// in vshmain.prx)". A check's message stays as it is.
QString userText(const Error& error, const QString& fileName);
// Description and detail on one line, for logs and the command-line tool.
QString fullText(const Error& error);
// A value refused, as a look or the command line words it: the value's name
// first, then why ("XmbX: Type mismatch: \"60-\" is not a number",
// "TextColors[2]: \"red\" is not a colour of the form #RRGGBB").
QString refusalText(const Error& error);
// The note for a text stored other than given: blanks dropped, cut to its slot.
QString storedTextNote(const QString& name, const QString& stored, int maxLength);

} // namespace qm::text
