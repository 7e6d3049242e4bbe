// The boxes that tell the operator of a lost link, a command that could not be sent, a
// port that would not open.
#include "data/link_problems.h"

#include "data/dialogs.h"
#include "link/link.h"

void showLinkProblem(Dialogs& dialogs, const LinkProblem& problem)
{
    switch (problem.kind) {
    case LinkProblem::Kind::Lost:
        dialogs.inform(problem.text, QStringLiteral("Connection lost"), Dialogs::Icon::Warning);
        return;
    case LinkProblem::Kind::SendFailed:
        dialogs.message(problem.text.isEmpty() ? QStringLiteral("Connection error.") : problem.text,
                          QString(), Dialogs::Buttons::Ok, Dialogs::Icon::None, Dialogs::Answer::Ok);
        return;
    case LinkProblem::Kind::PortFailed:
        dialogs.inform(problem.text);
        return;
    }
}
