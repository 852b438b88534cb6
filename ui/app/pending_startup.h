// Start-up steps whose owners are not built yet. Each routine here has the
// name and the signature its owner will give it; the stand-ins themselves all
// live in ui/app/pending_startup.cpp, and an owner that lands deletes its rows
// there (and its declarations here) and includes its own header instead.
//
// A stand-in never pretends to have done the work: loaders report "nothing
// loaded", builders build nothing, and the few that must answer for start-up
// to go on (the font sets) say so where they are defined.
#pragma once


// (none pending)
