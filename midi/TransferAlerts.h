#pragma once

#include "midi/PresetTransfer.h"

/** The alerts that tell the user how a transfer ended, in the editor's words. */
class TransferAlerts
{
public:
    /** Shows the outcome's alert through the dialogs in use; a sent preset needs none. */
    static void show (PresetTransfer::Outcome outcome);
};
