// FindRelative: the sire, dam's sire and second dam's sire of an ancestor from the recorded pedigrees.

#include "core/pedigree/relative.h"
#include "pedigree_fixture.h"

#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::PedigreeData;

namespace {

class RelativeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        data.Stallion(u"Sx");
        data.Mare(u"Mx");
        // Y knows Q but not Q's sire; Z knows both: the scan goes on past Y.
        data.Stallion(u"Y", 3, { u"Q", u"" });
        data.Stallion(u"Z", 3, { u"Q", u"QS" });
        // An ancestor met both in a stallion and in a mare: the stallion comes first.
        data.Mare(u"Mshared", { u"Shared", u"FromMare" });
        data.Stallion(u"Sshared", 3, { u"Shared", u"FromStallion" });
    }
    std::u16string Find(std::u16string_view name, RelativeKind k) const
    {
        return data.OyaName(FindRelative(data.d, name, k));
    }
    PedigreeData data;
};

} // namespace

TEST_F(RelativeTest, KindsInStallionAndMareRecords)
{
    struct Case
    {
        std::u16string name;
        RelativeKind kind;
        std::u16string want;
    };
    const Case cases[] = {
        // The stallion himself (entry 0).
        { u"Sx", RelativeKind::Sire, u"Sx_1" },
        { u"Sx", RelativeKind::DamSire, u"Sx_3" },
        { u"Sx", RelativeKind::SecondDamSire, u"Sx_7" },
        // His position 1.
        { u"Sx_1", RelativeKind::Sire, u"Sx_2" },
        { u"Sx_1", RelativeKind::DamSire, u"Sx_5" },
        { u"Sx_1", RelativeKind::SecondDamSire, u"Sx_11" },
        // Deeper positions: sire at 2j for j <= 7, dam's sire at 4j+1 for j <= 3.
        { u"Sx_3", RelativeKind::Sire, u"Sx_6" },
        { u"Sx_3", RelativeKind::DamSire, u"Sx_13" },
        { u"Sx_3", RelativeKind::SecondDamSire, u"" },
        { u"Sx_7", RelativeKind::Sire, u"Sx_14" },
        { u"Sx_7", RelativeKind::DamSire, u"" },
        { u"Sx_8", RelativeKind::Sire, u"" },
        // A mare's record: position p is element p-1, and she is no entry herself.
        { u"Mx", RelativeKind::Sire, u"" },
        { u"Mx_1", RelativeKind::Sire, u"Mx_2" },
        { u"Mx_1", RelativeKind::DamSire, u"Mx_5" },
        { u"Mx_1", RelativeKind::SecondDamSire, u"Mx_11" },
        { u"Mx_2", RelativeKind::Sire, u"Mx_4" },
        { u"Mx_3", RelativeKind::DamSire, u"Mx_13" },
        { u"Mx_7", RelativeKind::Sire, u"Mx_14" },
        { u"Mx_2", RelativeKind::SecondDamSire, u"" },
        // Unknown candidates do not end the scan; stallions before mares.
        { u"Q", RelativeKind::Sire, u"QS" },
        { u"Shared", RelativeKind::Sire, u"FromStallion" },
        // Exact comparison; unknown entries never match.
        { u"sx", RelativeKind::Sire, u"" },
        { u"", RelativeKind::Sire, u"" },
        { u"Nobody", RelativeKind::DamSire, u"" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(Find(c.name, c.kind), c.want)
            << std::string(c.name.begin(), c.name.end()) << " kind " << static_cast<int>(c.kind);
}
