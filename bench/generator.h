#pragma once

#include <QString>

// Builds a database of the given size for the benchmarks: the demo host data, causals 0..N-1
// (or from 300 when they fit), each complete in every one of M companies, with a five-column
// layout and two exclusions, and a ledger of realistic size. Written with bound values in one transaction.
namespace BenchGenerator {

bool build(const QString &path, int causals, int companies, QString *error);
// First causal code used for a database of that size.
int firstCode(int causals);

// Every database also holds a ledger of this size, with the demo data.
inline constexpr int LedgerAccounts = 100000;
inline constexpr int LedgerCausals = 5000;
inline constexpr int Users = 10000;
// Codes of the i-th generated account (postable unless i is a multiple of 10) and ledger causal.
QString accountCode(int i);
QString ledgerCausalCode(int i);

} // namespace BenchGenerator
