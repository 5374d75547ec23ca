#pragma once

// Window tests: QtTest classes registered with QM_GUI_TEST run one after the
// other in one program (offscreen platform).

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

namespace qm::test {

using GuiTestFactory = std::function<std::unique_ptr<QObject>()>;
std::vector<GuiTestFactory>& guiTests();

struct GuiTestRegistration {
    explicit GuiTestRegistration(GuiTestFactory f) { guiTests().push_back(std::move(f)); }
};

} // namespace qm::test

#define QM_GUI_TEST(Class)                                                                                   \
    static const ::qm::test::GuiTestRegistration registration_##Class(                                       \
        [] { return std::make_unique<Class>(); })
