#include "EditorPictures.h"

#include "BundleHost.h"
#include "DemoSignal.h"
#include "EditorDeleter.h"
#include "RawParameters.h"
#include "processor/ScannerProcessor.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <atomic>
#include <iostream>
#include <thread>

namespace
{
    constexpr double sampleRate = 44100.0;
    constexpr int blockSize = 512;

    /** Feeds the demo loop to a processor in real time on its own thread, as a host's audio callback would. */
    class AudioThread
    {
    public:
        explicit AudioThread (juce::AudioProcessor& p) : processor (p), loop (DemoSignal::createLoop (sampleRate))
        {
            thread = std::thread ([this] { run(); });
        }

        ~AudioThread()
        {
            running = false;
            thread.join();
        }

    private:
        void run()
        {
            juce::AudioBuffer<float> block (2, blockSize);
            juce::MidiBuffer midi;
            const auto period = std::chrono::microseconds ((int) (1.0e6 * blockSize / sampleRate));
            auto next = std::chrono::steady_clock::now();

            for (int position = 0; running; position = (position + blockSize) % (loop.getNumSamples() - blockSize))
            {
                for (int channel = 0; channel < 2; ++channel)
                    block.copyFrom (channel, 0, loop, channel, position, blockSize);

                processor.processBlock (block, midi);
                next += period;
                std::this_thread::sleep_until (next);
            }
        }

        juce::AudioProcessor& processor;
        juce::AudioBuffer<float> loop;
        std::atomic<bool> running { true };
        std::thread thread;
    };

    bool savePng (const juce::Image& image, const juce::File& png, juce::String& error)
    {
        png.deleteFile();
        juce::FileOutputStream stream (png);
        juce::PNGImageFormat format;

        if (stream.failedToOpen() || ! format.writeImageToStream (image, stream))
        {
            error = "cannot write " + png.getFullPathName();
            return false;
        }

        return true;
    }

    int lenientXErrorHandler (Display*, XErrorEvent*)
    {
        return 0;
    }

    juce::Image grabScreen (juce::Rectangle<int> area)
    {
        auto* display = XOpenDisplay (nullptr);

        if (display == nullptr)
            return {};

        auto* ximage = XGetImage (display, DefaultRootWindow (display), area.getX(), area.getY(), (unsigned int) area.getWidth(),
                                  (unsigned int) area.getHeight(), AllPlanes, ZPixmap);
        juce::Image image;

        if (ximage != nullptr)
        {
            image = juce::Image (juce::Image::RGB, area.getWidth(), area.getHeight(), false);

            for (int y = 0; y < area.getHeight(); ++y)
                for (int x = 0; x < area.getWidth(); ++x)
                {
                    const auto pixel = XGetPixel (ximage, x, y);
                    image.setPixelAt (x, y,
                                      juce::Colour ((juce::uint8) ((pixel >> 16) & 0xff), (juce::uint8) ((pixel >> 8) & 0xff),
                                                    (juce::uint8) (pixel & 0xff)));
                }

            XDestroyImage (ximage);
        }

        XCloseDisplay (display);
        return image;
    }

    double litFraction (const juce::Image& image)
    {
        int lit = 0;

        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
                if (image.getPixelAt (x, y).getBrightness() > 0.05f)
                    ++lit;

        return (double) lit / juce::jmax (1, image.getWidth() * image.getHeight());
    }
} // namespace

bool EditorPictures::snapshot (const juce::File& png, double seconds, const juce::StringPairArray& rawValues, juce::String& error)
{
    std::unique_ptr<juce::AudioProcessor> processor (createPluginFilter());

    if (! RawParameters::setAll (dynamic_cast<ScannerProcessor&> (*processor).parameters, rawValues, error))
        return false;

    processor->setRateAndBufferSizeDetails (sampleRate, blockSize);
    processor->prepareToPlay (sampleRate, blockSize);
    OwnedEditor editor (processor->createEditorIfNeeded());

    {
        AudioThread audio (*processor);
        juce::MessageManager::getInstance()->runDispatchLoopUntil ((int) (seconds * 1000.0));
    }

    const auto image = editor->createComponentSnapshot (editor->getLocalBounds());
    editor.reset();
    processor->releaseResources();
    return savePng (image, png, error);
}

bool EditorPictures::prepareX11 (juce::String& error)
{
    if (juce::SystemStats::getEnvironmentVariable ("DISPLAY", {}).isEmpty())
    {
        error = "no X display (DISPLAY is not set): run under xvfb-run";
        return false;
    }

    // The framework talks to X from several threads, and a bare X server without a window
    // manager answers some of its requests with harmless errors that would abort the process.
    XInitThreads();
    XSetErrorHandler (lenientXErrorHandler);
    return true;
}

bool EditorPictures::windowGrab (const juce::File& bundle, const juce::File& png, double seconds, const juce::StringPairArray& rawValues,
                                 juce::String& error)
{
    auto instance = BundleHost::load (bundle, sampleRate, blockSize, error);

    if (instance == nullptr || ! BundleHost::setAllFromText (*instance, rawValues, error))
        return false;

    instance->setRateAndBufferSizeDetails (sampleRate, blockSize);
    instance->prepareToPlay (sampleRate, blockSize);
    OwnedEditor editor (instance->createEditorIfNeeded());

    if (editor == nullptr)
    {
        error = "the plug-in created no editor";
        return false;
    }

    juce::Image image;

    {
        AudioThread audio (*instance);
        editor->setTopLeftPosition (0, 0);
        editor->addToDesktop (0);
        editor->setVisible (true);
        juce::MessageManager::getInstance()->runDispatchLoopUntil ((int) (seconds * 1000.0));
        image = grabScreen (editor->getScreenBounds());
        editor->removeFromDesktop();
    }

    editor.reset();
    instance->releaseResources();

    if (! image.isValid())
    {
        error = "could not grab the screen";
        return false;
    }

    const auto lit = litFraction (image);
    std::cout << "window " << image.getWidth() << " x " << image.getHeight() << ", " << juce::String (lit * 100.0, 1)
              << " % of its pixels lit\n";

    if (lit < 0.01)
    {
        error = "the editor's window stayed black";
        return false;
    }

    return savePng (image, png, error);
}
