#pragma once

#include <QString>

// Builds a database of the given size for the benchmarks: the demo host data, causals 0..N-1
// (or from 300 when they fit), each complete in every one of M companies, with a five-column
// layout and two exclusions. Written with bound values in one transaction.
namespace BenchGenerator {

bool build(const QString &path, int causals, int companies, QString *error);
// First causal code used for a database of that size.
int firstCode(int causals);

} // namespace BenchGenerator
