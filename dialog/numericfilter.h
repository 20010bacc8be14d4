#pragma once

// The number fields' keystroke rule, which each front end's filter applies
// to every typed character, as a signed byte (so the codes 128 to 255 are
// negative): control characters pass, and so do those codes; digits pass; the
// sign and the decimal point pass only where the field's selection (or, with
// nothing selected, its caret) starts at position 0; any other character is
// dropped, and the filter beeps. selectionStartsAtZero() is asked only for
// the sign and the point, where it decides.
template <typename SelectionStartsAtZero>
bool NumericCharacterPasses(signed char typed, SelectionStartsAtZero selectionStartsAtZero)
{
    if (typed < 32)
        return true;
    if (typed == '-' || typed == '.')
        return selectionStartsAtZero();
    return typed >= '0' && typed <= '9';
}
