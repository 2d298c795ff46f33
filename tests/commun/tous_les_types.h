#pragma once
// A data file holding one record of every kind of the factory (Windows-1252
// once encoded; UTF-8 here, CR LF). Shared by the catalogue tests and the
// fuzz targets, which need systems of every kind to work on.

namespace vestrel::essai {

// One record of each kind, with plausible parameters around (46°N, 3°E)
// unless the kind calls for another place.
inline constexpr const char* kTousLesTypes =
    "Ellipsoide=\"Clarke 1880 IGN\" \"Clarke 1880 (IGN)\" 6378249.2 0.0824832567634\r\n"
    "Datum=\"NTF\" \"Nouvelle Triangulation Française\" \"Clarke 1880 IGN\" -168 -60 320 *\r\n"
    "Projection \"Lambert Conique\"=\"LC\" \"\" \"WGS84\" 0.725607765053 11754255.426 700000 12655612.05 3°\r\n"
    "Projection \"Lambert Conique Tangent\"=\"LT\" \"\" \"NTF\" 0.99987742 600000 2200000 2°20'14.025'' 52g\r\n"
    "Projection \"Lambert Conique Sécant\"=\"L93\" \"Lambert 93\" \"WGS84\" 700000 6600000 3° 46°30' 44° 49°\r\n"
    "Projection \"Lambert Conique Oblique\"=\"LO\" \"\" \"WGS84\" 1 0 0 3° 46° 46° 10°\r\n"
    "Projection \"Transverse Mercator Brut\"=\"TMB\" \"\" \"WGS84\" 6375585.2 500000 0 3°\r\n"
    "Projection \"Transverse Mercator\"=\"TM\" \"\" \"WGS84\" 0.9996 500000 0 3° 0°\r\n"
    "Projection \"UTM Fuseau\"=\"UTM31\" \"\" \"WGS84\" 31 0\r\n"
    "Projection \"MTM Fuseau\"=\"MTM8\" \"\" \"WGS84\" 8 0\r\n"
    "Projection \"Gauss Rosenmund\"=\"GR\" \"\" \"WGS84\" 600000 200000 3° 46°\r\n"
    "Projection \"Gauss Laborde\"=\"GL\" \"\" \"WGS84\" 1 6378137 0 0 0 3°\r\n"
    "Projection \"Gauss Laborde Courbure\"=\"GLC\" \"\" \"WGS84\" 1 160000 50000 3° 46°\r\n"
    "Projection \"Gauss Laborde Equatoriale\"=\"GLE\" \"\" \"WGS84\" 1 160000 50000 3° 46°\r\n"
    "Projection \"Gauss Laborde Bitangente\"=\"GLB\" \"\" \"WGS84\" 1 160000 50000 3° 46°\r\n"
    "Projection \"Gauss Laborde Oblique\"=\"GLO\" \"\" \"WGS84\" 1 0 0 3° 46° 30°\r\n"
    "Projection \"Hotine\"=\"H\" \"\" \"WGS84\" 1 0 0 3° 46° 30°\r\n"
    "Projection \"Hotine centré\"=\"HC\" \"\" \"WGS84\" 1 0 0 3° 46° 30°\r\n"
    "Projection \"Stéréographique\"=\"S\" \"\" \"WGS84\" 1 6378137 0 0 0 3° 46°\r\n"
    "Projection \"Stéréographique Courbure\"=\"SC\" \"\" \"WGS84\" 0.9999079 155000 463000 3° 46°\r\n"
    "Projection \"Stéréographique Equatoriale\"=\"SE\" \"\" \"WGS84\" 1 0 0 3° 46°\r\n"
    "Projection \"Stéréographique Bitangente\"=\"SB\" \"\" \"WGS84\" 1 0 0 3° 46°\r\n"
    "Projection \"Stéréographique Polaire\"=\"UPSN\" \"\" \"WGS84\" 0.994 2000000 2000000 0° 0\r\n"
    "Projection \"New Zealand Map Grid\"=\"NZMG\" \"\" \"WGS84\" 2510000 6023150 173° -41°\r\n"
    "Projection \"Bonne\"=\"B\" \"\" \"WGS84\" 0 0 3° 46°\r\n"
    "Projection \"Mercator sur sphère\"=\"M\" \"\" \"WGS84\" 0 0 3°\r\n"
    "Projection \"Projection Latitude/Longitude\"=\"LL\" \"\" \"WGS84\"\r\n"
    "Multiple \"Transverse Mercator Multiple\"=\"UTM\" \"UTM sur WGS84\" \"WGS84\" 0.9996 500000 0 10000000 -177° 6°\r\n";

}  // namespace vestrel::essai
