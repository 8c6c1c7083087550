#pragma once
// The enumerations of the spectra display, with the values containers store.
namespace vyr::spectra {

enum CurveDisplayMode : short { eCurveAboveSpectra = 0, eCurveBelowSpectra = 1, eCurveInSpectra = 2 };
enum CurveDrawMode : short { ePolyline = 0, eSpline = 1, ePixel = 2 };

} // namespace vyr::spectra
