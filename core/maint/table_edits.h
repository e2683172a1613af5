#pragma once
// Removing a row from a master table while every other row that refers to the table by index keeps
// referring to the same thing. A horse that referred to the removed row gets -1 there, and the name it
// had is kept (KeptNames) so that its file line stays as it was until the next reload.
//
// The one exception is the ancestors' sire line: the ancestor file stores it as a number, so after a
// sire line is removed every ancestor whose line lay behind it names the following line, in memory and
// in the file alike (the window warns about this before removing a line).

#include "core/maint/data_writers.h"

namespace velmora {

// The kept names of one horse row, the table of kept names grown to reach it.
KeptHorseNames& KeptRowFor(KeptNames& kept, bool stallion, int row);
// Forgets the kept names of one horse row (its fields are stored afresh).
void ClearKept(KeptNames& kept, bool stallion, int row);

// Each removes row i (a position of KeiroTable), moving the rows behind it up by one.
void RemoveOyaRow(MasterData& d, KeptNames& kept, int i);
void RemoveKeitoRow(MasterData& d, KeptNames& kept, int i); // also clears the row past the new end
void RemoveKeiro(MasterData& d, KeptNames& kept, int i);
void RemoveDadRow(MasterData& d, KeptNames& kept, int i);
void RemoveMamRow(MasterData& d, KeptNames& kept, int i);

} // namespace velmora
