#include "runtime/spectrum_analyser.h"

#include <GL/glew.h>

#include "runtime/spectrum_bands.h"

namespace Quorvel {

SpectrumAnalyser::SpectrumAnalyser(const MusicTrack& music)
    : track(&music), samples(2048, 0.0f), spectrum(2048, 0.0f), vertices(372, 0.0f), normals(372, 0.0f),
      fft(2048), weights(32), magnitudes(1024, 0.0f), heights(32, 0.0f) {}

void SpectrumAnalyser::compute(double time) {
    const int channels = track->channels();
    const std::int64_t start = windowStart(double(track->frequency), time, fftSize, channels);
    gatherWindow(track->pcm.data(), track->sampleCount(), start, channels, fftSize, samples.data());
    fft.transform(samples.data(), spectrum.data());
    bandHeights(spectrum.data(), fftSize, weights, magnitudes.data(), heights.data());
    writeLineArrays(heights.data(), bandCount, vertices.data(), normals.data());
}

void SpectrumAnalyser::drawSpectrum(double time) {
    compute(time);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, vertices.data());
    glNormalPointer(GL_FLOAT, 0, normals.data());
    glDrawArrays(GL_QUAD_STRIP, kFirstDrawnEntry, kDrawnEntries);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
}

}  // namespace Quorvel
