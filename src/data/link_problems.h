// How the program tells the operator of a problem on the link: the boxes of the
// windows' exchanges.
#pragma once

struct LinkProblem;

void showLinkProblem(const LinkProblem& problem);
