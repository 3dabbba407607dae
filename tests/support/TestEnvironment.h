#pragma once

#include <QTemporaryDir>

// What a test process needs before its application object exists: the offscreen platform unless
// another is asked for, and a settings store and desktop folders of its own, so that tests ctest
// runs side by side never share settings and nothing a test writes reaches the developer's own
// configuration or desktop, nor the system's folders ($TARNWICK_SYSTEM_ROOT).
class TTestEnvironment
{
public:
    TTestEnvironment();
    TTestEnvironment(const TTestEnvironment &) = delete;
    TTestEnvironment &operator=(const TTestEnvironment &) = delete;

    bool IsValid() const
    {
        return registryDir.isValid() && xdgDir.isValid() && systemRoot.isValid();
    }

private:
    QTemporaryDir registryDir;
    QTemporaryDir xdgDir;
    QTemporaryDir runtimeDir;
    QTemporaryDir systemRoot;
};

// Runs every test under the application object the caller made.
int RunAllTests(int &argc, char **argv);
