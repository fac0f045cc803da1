"""Writes the demo's four models ("MODELS" 112 to 115) as 3D Studio files."""

import model_boss
import model_raiders
import model_towers
from assetlib import output_path

MODELS = {112: model_raiders.build, 113: model_towers.cannon_tower, 114: model_towers.laser_tower,
          115: model_boss.build}
FILES = {112: "raiders.3ds", 113: "cannon_tower.3ds", 114: "laser_tower.3ds", 115: "boss.3ds"}


def main():
    for model_id, build in MODELS.items():
        build().write(output_path(FILES[model_id]))


if __name__ == "__main__":
    main()
