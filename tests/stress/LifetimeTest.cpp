#include "EditorDeleter.h"
#include "engine/StationRecordings.h"
#include "processor/ScannerProcessor.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

namespace
{
    constexpr bool builtWithAddressSanitizer()
    {
#if defined(__SANITIZE_ADDRESS__)
        return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
        return true;
#else
        return false;
#endif
#else
        return false;
#endif
    }

    /** The process's resident memory, in bytes. */
    size_t residentBytes()
    {
        std::ifstream statm ("/proc/self/statm");
        size_t pages = 0, resident = 0;
        statm >> pages >> resident;
        return resident * (size_t) sysconf (_SC_PAGESIZE);
    }

    void createAndDestroy (int count)
    {
        for (int i = 0; i < count; ++i)
        {
            std::unique_ptr<juce::AudioProcessor> processor (createPluginFilter());
            processor->prepareToPlay (44100.0, 512);

            if (i % 2 == 0)
            {
                OwnedEditor editor (processor->createEditorIfNeeded());
                juce::MessageManager::getInstance()->runDispatchLoopUntil (5);
            }

            processor->releaseResources();
        }
    }
} // namespace

TEST (Lifetime, fiftyInstancesWithAndWithoutEditorsDoNotGrowMemory)
{
    createAndDestroy (10); // warm up the framework's caches (fonts, glyphs)
    const auto before = residentBytes();
    std::weak_ptr<const StationRecordings::Set> recordings;

    {
        // Every instance holds the shared recordings: once all are gone, so are they.
        ScannerProcessor first;
        recordings = StationRecordings::acquire();
        createAndDestroy (50);
    }

    const auto after = residentBytes();
    EXPECT_TRUE (recordings.expired()) << "an instance outlived its destruction";

    // The decoded recordings (about 18 MB) are shared, freed with the last instance; what stays
    // is the framework's. AddressSanitizer holds freed memory in quarantine, so there
    // LeakSanitizer judges instead.
    if (! builtWithAddressSanitizer())
    {
        EXPECT_LT (after, before + (size_t) 24 * 1024 * 1024) << "before " << before << ", after " << after;
    }
}
