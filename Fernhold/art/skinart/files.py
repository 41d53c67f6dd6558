"""The files of one generation run, under the names the program and its resource script use."""

from . import bmpfile, paint


class SkinFiles:
    def __init__(self):
        self.files = {}   # path relative to the output folder -> bytes

    def art(self, number, image):
        """Resource/<number>.bmp, 24 bits per pixel."""
        self.files[f"Resource/{number}.bmp"] = bmpfile.bmp24_bytes(image)

    def masked(self, number, layer):
        """Resource/<number>.bmp and its mask Resource/<number>a.bmp from an RGBA layer."""
        colours, alpha = paint.split(layer)
        self.art(number, colours)
        self.files[f"Resource/{number}a.bmp"] = bmpfile.bmp8_grey_bytes(alpha)

    def program(self, name, data):
        self.files[f"program/{name}"] = data
