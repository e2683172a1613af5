#pragma once
// Removing a row from a master table while every other reference keeps naming the same thing: the rows
// behind the removed one move up, and every index that pointed at one of them moves with it, in every
// table. What pointed at the removed row itself:
// - an ancestor: a horse's pedigree keeps the name (the horse's Unknown names), so its file line stays;
// - a sire line: ancestors and horses of that line get line 0 ("未登録"), and the nicks naming it go;
// - a coat colour: must be used by no horse (see KeiroUsers); the data editing window refuses otherwise.
// The record of what each file held moves with the rows, so that untouched rows are written as read.

#include "core/data/master_data.h"

namespace velmora {

// What refers to a row, for the question before it is removed.
struct RowUsers
{
    int ancestors = 0;
    int stallions = 0;
    int mares = 0;
    int nicks = 0;

    int Horses() const { return stallions + mares; }
    bool Any() const { return ancestors + stallions + mares + nicks > 0; }
};

RowUsers OyaUsers(const MasterData& d, int i); // the horses whose pedigree names ancestor i
RowUsers KeitoUsers(const MasterData& d, int k); // ancestors, horses and nicks of sire line k
RowUsers KeiroUsers(const MasterData& d, int i); // horses of coat colour i

void RemoveOyaRow(MasterData& d, int i);
void RemoveKeitoRow(MasterData& d, int k);
void RemoveKeiro(MasterData& d, int i); // throws RangeError when a horse has colour i
void RemoveDadRow(MasterData& d, int i);
void RemoveMamRow(MasterData& d, int i);

} // namespace velmora
