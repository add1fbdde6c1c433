// The shell's one name order, shared by the namespace and the list control: digit runs by their
// value ("file2" before "file10"), letter case ignored ("apple" before "Banana").
#pragma once

#include <QCollatorSortKey>
#include <QString>

namespace wordloom::shell {

// Negative, zero or positive. Names the order takes as equal ("a" and "A") give zero; callers that
// need a strict order break the tie themselves.
int NaturalCompare(const QString& a, const QString& b);
// A key that sorts as NaturalCompare orders, for sorting many names at once.
QCollatorSortKey NaturalSortKey(const QString& name);

} // namespace wordloom::shell
