#pragma once

#include "platform/Connection.h"
#include "platform/Result.h"

// A generated sample structure for the structure benchmarks: the top sample (id 1) has ten lines,
// each leading into one of three chains of child samples that run `levels` - 1 levels down; the
// chains cross at every level (sample j of a level uses sample j + 1 of the next), so every child
// sample is shared by several branches. Each child sample has `leaves` purchased parts besides its
// child line. The tree shown for it has about 10 x (levels - 1) x (leaves + 1) nodes, while only
// 3 x (levels - 1) samples are stored. Every item is self-made goods, child samples have version V1.
namespace GeneratedStructure {

// The leaves per child sample that give about `nodes` tree nodes over `levels` levels.
int leavesFor(int nodes, int levels);

// Writes the structure into an empty database in one transaction.
Result<void> write(Connection &cnn, int levels, int leaves);

// The number of tree nodes (below the root) the structure shows.
int treeNodes(int levels, int leaves);

} // namespace GeneratedStructure
