#pragma once

// The rules of the release groups over members: values that follow others,
// which members a user may set, the BmpSize limit, and the checks a set of
// values must pass before anything is written.

#include "result.h"
#include "values.h"

#include <QString>

#include <optional>

namespace qm::prx {

// The member whose value `member` follows in `release`, from the
// catalogue's "follows" column, where the release has both: `member` is then
// not set by itself but saved as the followed value + 1.
std::optional<int> followedMember(ReleaseId release, int member);
// The value a following member takes: the followed value + 1, as the
// followed value's shortest decimal text reads.
Single followingValue(Single followed);
// Puts every following value in place, where the release has the rule.
void applyFollowing(ModuleValues& values);

// Whether a user may set a member: the release has it, it follows no other
// value, and it is written at all (the date and time formats never are).
bool editable(const ModuleValues& values, int member);
template <typename M> bool editable(const ModuleValues& values, M member) {
    return values.kind() == kindOfMember<M>() && editable(values, static_cast<int>(member));
}

// BmpSize from a number: above 32767 refused by a check (Reason::BmpMax), otherwise
// rounded half to even; below -32768 an overflow.
Result<qint16> bmpSizeFromNumber(double number);

// The checks before a save: every text holds something and only characters
// a module text can store. The first failure names its member.
Status checkValues(const ModuleValues& values);

} // namespace qm::prx
