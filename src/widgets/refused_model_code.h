// Tells the operator of a model code the datalogger sent that cannot be one.
#pragma once

#include "data/dialogs.h"
#include "protocol/read_sequence.h"

inline void tellRefusedModelCode(Dialogs& dialogs, const ReadSequence::ModelCode& read)
{
    if (!read.refused.isEmpty())
        dialogs.inform(read.refused, QStringLiteral("Warning"), Dialogs::Icon::Warning);
}
