#pragma once
// The 3D device's text objects of a font.
class cTextAtlas {};
class cTextSprite {};
