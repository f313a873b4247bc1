// scanner-host: the project's stand-in for a DAW. It loads the built VST3 bundle through the
// framework's VST3 hosting and prints the plug-in's identity, renders audio through it, or
// pictures its editor.

#include "AudioFiles.h"
#include "BundleHost.h"
#include "DemoSignal.h"
#include "EditorPictures.h"
#include "RenderCheck.h"
#include "Renderer.h"
#include "processor/ScannerProcessor.h"

#include <iostream>

namespace
{
    int usage()
    {
        std::cerr << "usage:\n"
                     "  scanner-host info     [--bundle PATH]\n"
                     "  scanner-host render   [--bundle PATH] [--input IN.wav] --output OUT.wav [--rate HZ]\n"
                     "                        [--block N] [--seconds S] [--channels 1|2] [--set ID=RAW]...\n"
                     "                        [--spectrogram OUT.png]\n"
                     "  scanner-host snapshot --output OUT.png [--seconds S] [--set ID=RAW]...\n"
                     "  scanner-host window   [--bundle PATH] --output OUT.png [--seconds S] [--set ID=RAW]...\n"
                     "  scanner-host check    --input DRY.wav --rendered WET.wav --expect station=K|unheard|unchanged|processed\n"
                     "Parameters: dial staticAmt signal lofi autoScan scanRate mix (raw values, e.g. mix=50).\n";
        return 2;
    }

    int fail (const juce::String& message)
    {
        std::cerr << "scanner-host: " << message << "\n";
        return 1;
    }

    struct Options
    {
        juce::File bundle = BundleHost::defaultBundle();
        juce::File input, output, spectrogram, rendered;
        juce::String expectation;
        Renderer::Settings render;
        bool secondsGiven = false;
    };

    bool parse (const juce::StringArray& args, Options& options, juce::String& error)
    {
        for (int i = 1; i < args.size(); ++i)
        {
            const auto& flag = args[i];

            if (i + 1 >= args.size())
            {
                error = "missing value after " + flag;
                return false;
            }

            const auto value = args[++i];
            const auto file = juce::File::getCurrentWorkingDirectory().getChildFile (value);

            if (flag == "--bundle")
                options.bundle = file;
            else if (flag == "--input")
                options.input = file;
            else if (flag == "--output")
                options.output = file;
            else if (flag == "--rendered")
                options.rendered = file;
            else if (flag == "--expect")
                options.expectation = value;
            else if (flag == "--spectrogram")
                options.spectrogram = file;
            else if (flag == "--rate")
                options.render.sampleRate = value.getDoubleValue();
            else if (flag == "--block")
                options.render.blockSize = value.getIntValue();
            else if (flag == "--channels")
                options.render.numChannels = value.getIntValue();
            else if (flag == "--seconds")
            {
                options.render.seconds = value.getDoubleValue();
                options.secondsGiven = true;
            }
            else if (flag == "--set" && value.containsChar ('='))
                options.render.rawValues.set (value.upToFirstOccurrenceOf ("=", false, false),
                                              value.fromFirstOccurrenceOf ("=", false, false));
            else
            {
                error = "unknown option " + flag + " " + value;
                return false;
            }
        }

        if (options.render.sampleRate < 1.0 || options.render.blockSize < 1 || options.render.seconds < 0.0
            || (options.render.numChannels != 1 && options.render.numChannels != 2))
        {
            error = "rate, block, seconds or channels out of range";
            return false;
        }

        return true;
    }

    juce::String busText (const juce::AudioProcessor::Bus* bus)
    {
        return bus == nullptr ? juce::String ("none") : bus->getName() + " (" + bus->getCurrentLayout().getDescription() + ")";
    }

    int info (const Options& options)
    {
        const auto description = BundleHost::describe (options.bundle);

        if (! description)
            return fail ("no VST3 plug-in found in " + options.bundle.getFullPathName());

        juce::String error;
        auto instance = BundleHost::load (options.bundle, 44100.0, 512, error);

        if (instance == nullptr)
            return fail (error);

        std::cout << "bundle:    " << options.bundle.getFullPathName() << "\n"
                  << "name:      " << description->name << "\n"
                  << "vendor:    " << description->manufacturerName << "\n"
                  << "version:   " << description->version << "\n"
                  << "category:  " << description->category << "\n"
                  << "instrument: " << (description->isInstrument ? "yes" : "no") << "\n"
                  << "input:     " << busText (instance->getBus (true, 0)) << "\n"
                  << "output:    " << busText (instance->getBus (false, 0)) << "\n"
                  << "mono:      "
                  << (instance->checkBusesLayoutSupported ({ { juce::AudioChannelSet::mono() }, { juce::AudioChannelSet::mono() } })
                          ? "accepted"
                          : "refused")
                  << "\n"
                  << "editor:    " << (instance->hasEditor() ? "yes" : "no") << "\n"
                  << "parameters:\n";

        for (auto* parameter : instance->getParameters())
        {
            const auto hostId = dynamic_cast<juce::HostedAudioProcessorParameter*> (parameter)->getParameterID();
            std::cout << "  " << juce::String (parameter->getParameterIndex()).paddedLeft (' ', 2) << "  "
                      << BundleHost::keyOf (*parameter).paddedRight (' ', 10) << " " << hostId.paddedRight (' ', 11) << " "
                      << parameter->getName (32).paddedRight (' ', 10) << " default "
                      << parameter->getText (parameter->getDefaultValue(), 32) << "  now " << parameter->getCurrentValueAsText() << "\n";
        }

        return 0;
    }

    void writeSpectrogram (const juce::File& wav, const juce::File& png, const juce::String& title)
    {
        juce::ChildProcess sox;
        const juce::StringArray command {
            "sox", wav.getFullPathName(), "-n", "remix", "1", "spectrogram", "-x", "1200", "-y", "513", "-z", "100", "-t", title,
            "-o",  png.getFullPathName()
        };

        if (! sox.start (command) || ! sox.waitForProcessToFinish (120000) || sox.getExitCode() != 0)
            std::cerr << "scanner-host: sox could not draw the spectrogram\n";
    }

    /** Judges a render that a DAW made through the plug-in. */
    int check (const Options& options)
    {
        juce::AudioBuffer<float> input, rendered;
        juce::String error;
        juce::AudioFormatManager formats;
        formats.registerBasicFormats();
        std::unique_ptr<juce::AudioFormatReader> probe (formats.createReaderFor (options.rendered));

        if (probe == nullptr)
            return fail ("cannot read " + options.rendered.getFullPathName());

        const auto rate = probe->sampleRate;

        if (! AudioFiles::read (options.rendered, rate, rendered, error) || ! AudioFiles::read (options.input, rate, input, error))
            return fail (error);

        std::vector<RenderCheck::Verdict> verdicts { RenderCheck::withinWetBound (rendered, input) };
        const auto& expect = options.expectation;

        if (expect == "unchanged")
            verdicts.push_back (RenderCheck::unchanged (rendered, input));
        else if (expect == "processed")
            verdicts.push_back (RenderCheck::processed (rendered, input));
        else if (expect == "unheard")
            verdicts.push_back (RenderCheck::inputUnheard (rendered, input));
        else if (expect.startsWith ("station=") && expect.getTrailingIntValue() >= 0 && expect.getTrailingIntValue() < numStations)
        {
            ScannerProcessor reference;
            verdicts.push_back (
                RenderCheck::holdsRecording (rendered, reference.stations[(size_t) expect.getTrailingIntValue()].samples()));
        }
        else
            return fail ("--expect takes station=K, unheard, unchanged or processed");

        auto passed = true;

        for (const auto& verdict : verdicts)
        {
            std::cout << (verdict.passed ? "ok:   " : "FAIL: ") << verdict.details << "\n";
            passed = passed && verdict.passed;
        }

        return passed ? 0 : 1;
    }

    int render (Options& options)
    {
        if (options.output == juce::File())
            return fail ("render needs --output");

        juce::AudioBuffer<float> input;
        juce::String error;

        if (options.input.existsAsFile())
        {
            if (! AudioFiles::read (options.input, options.render.sampleRate, input, error))
                return fail (error);
        }
        else if (options.input != juce::File())
            return fail ("no such input " + options.input.getFullPathName());
        else
            input = DemoSignal::createLoop (options.render.sampleRate);

        auto instance = BundleHost::load (options.bundle, options.render.sampleRate, options.render.blockSize, error);

        if (instance == nullptr)
            return fail (error);

        const auto showProgress = options.render.seconds >= 20.0;
        auto audio = Renderer::render (*instance, input, options.render, error,
                                       [showProgress] (double done)
                                       {
                                           if (showProgress)
                                               std::cerr << "\rrendering " << juce::roundToInt (done * 100.0) << "%"
                                                         << (done >= 1.0 ? "\n" : "") << std::flush;
                                       });

        if (error.isNotEmpty())
            return fail (error);

        if (! AudioFiles::write (options.output, audio, options.render.sampleRate, error))
            return fail (error);

        const auto levels = AudioFiles::measure (audio);
        std::cout << "wrote " << options.output.getFullPathName() << ": " << options.render.seconds << " s at " << options.render.sampleRate
                  << " Hz, peak " << juce::String (levels.peakDb, 1) << " dBFS, rms " << juce::String (levels.rmsDb, 1) << " dBFS\n";

        if (options.spectrogram != juce::File())
        {
            writeSpectrogram (options.output, options.spectrogram, options.output.getFileName());

            if (options.spectrogram.existsAsFile())
                std::cout << "wrote " << options.spectrogram.getFullPathName() << "\n";
        }

        return 0;
    }
} // namespace

int main (int argc, char* argv[])
{
    juce::StringArray args (argv + 1, argc - 1);

    if (args.isEmpty())
        return usage();

    if (args[0] == "window")
    {
        juce::String error;

        if (! EditorPictures::prepareX11 (error))
            return fail (error);
    }

    juce::ScopedJuceInitialiser_GUI juce;

    Options options;
    juce::String error;

    if (! parse (args, options, error))
    {
        std::cerr << "scanner-host: " << error << "\n";
        return usage();
    }

    const auto verb = args[0];

    if (verb == "info")
        return info (options);

    if (verb == "render")
        return render (options);

    if (verb == "check")
        return check (options);

    if (verb == "snapshot" || verb == "window")
    {
        if (options.output == juce::File())
            return fail (verb + " needs --output");

        const auto seconds = options.secondsGiven ? options.render.seconds : 2.0;
        const auto ok = verb == "snapshot"
                            ? EditorPictures::snapshot (options.output, seconds, options.render.rawValues, error)
                            : EditorPictures::windowGrab (options.bundle, options.output, seconds, options.render.rawValues, error);
        if (! ok)
            return fail (error);

        std::cout << "wrote " << options.output.getFullPathName() << "\n";
        return 0;
    }

    return usage();
}
