#pragma once

// Which first-run theme matches the visual style Windows shows now (index for DefaultThemeFileName).
int DetectDefaultTheme(bool isVistaOrLater);
