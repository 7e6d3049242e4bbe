// How the program tells the operator of a problem on the link: the boxes of the
// windows' exchanges.
#pragma once

class Dialogs;
struct LinkProblem;

void showLinkProblem(Dialogs& dialogs, const LinkProblem& problem);
