// SPDX-License-Identifier: GPL-3.0-or-later
// The one error-report routine behind every procedure's trap.
#pragma once
#include <string>

#include "platform/platform.h"

// The report's text for an error number, description and procedure label.
std::string report_error_text(int number, const std::string& description, const std::string& label);

// Shows the Retry/Cancel report; "Annulla" ends the program at once,
// "Riprova" returns to the procedure, which goes on with its next step.
void ReportError(Platform& platform, int number, const std::string& description, const std::string& label);
