{
  "velkHysysCase": 1,
  "title": "Debutanizer example",
  "flowsheet": {
    "operations": [
      {
        "name": "VLV-100",
        "type": "valveop"
      },
      {
        "name": "T-100",
        "type": "ColumnOp",
        "columnFlowsheet": {
          "stages": [
            {
              "name": "Condenser",
              "vapour": {
                "massFlow": 0.0,
                "massDensity": 22.1,
                "viscosity": 0.0084
              },
              "liquid": {
                "massFlow": 6.9258,
                "massDensity": 515.0,
                "viscosity": 0.113,
                "surfaceTension": 6.55
              }
            },
            {
              "name": "1__Main TS",
              "vapour": {
                "massFlow": 10.603,
                "massDensity": 22.41,
                "viscosity": 0.00846
              },
              "liquid": {
                "massFlow": 6.9085,
                "massDensity": 516.2,
                "viscosity": 0.112,
                "surfaceTension": 6.52
              }
            },
            {
              "name": "2__Main TS",
              "vapour": {
                "massFlow": 10.746,
                "massDensity": 22.743,
                "viscosity": 0.008516
              },
              "liquid": {
                "massFlow": 6.9518,
                "massDensity": 518.6,
                "viscosity": 0.111,
                "surfaceTension": 6.413
              }
            },
            {
              "name": "3__Main TS",
              "vapour": {
                "massFlow": 10.87,
                "massDensity": 23.075,
                "viscosity": 0.008572
              },
              "liquid": {
                "massFlow": 6.994,
                "massDensity": 521.0,
                "viscosity": 0.11,
                "surfaceTension": 6.305
              }
            },
            {
              "name": "4__Main TS",
              "vapour": {
                "massFlow": 10.988,
                "massDensity": 23.408,
                "viscosity": 0.008627
              },
              "liquid": {
                "massFlow": 7.0353,
                "massDensity": 523.4,
                "viscosity": 0.109,
                "surfaceTension": 6.198
              }
            },
            {
              "name": "5__Main TS",
              "vapour": {
                "massFlow": 11.102,
                "massDensity": 23.741,
                "viscosity": 0.008683
              },
              "liquid": {
                "massFlow": 7.0757,
                "massDensity": 525.8,
                "viscosity": 0.108,
                "surfaceTension": 6.091
              }
            },
            {
              "name": "6__Main TS",
              "vapour": {
                "massFlow": 11.212,
                "massDensity": 24.073,
                "viscosity": 0.008739
              },
              "liquid": {
                "massFlow": 7.1151,
                "massDensity": 528.2,
                "viscosity": 0.107,
                "surfaceTension": 5.983
              }
            },
            {
              "name": "7__Main TS",
              "vapour": {
                "massFlow": 11.321,
                "massDensity": 24.406,
                "viscosity": 0.008795
              },
              "liquid": {
                "massFlow": 7.1536,
                "massDensity": 530.6,
                "viscosity": 0.106,
                "surfaceTension": 5.876
              }
            },
            {
              "name": "8__Main TS",
              "vapour": {
                "massFlow": 11.428,
                "massDensity": 24.738,
                "viscosity": 0.008851
              },
              "liquid": {
                "massFlow": 7.1912,
                "massDensity": 533.0,
                "viscosity": 0.105,
                "surfaceTension": 5.768
              }
            },
            {
              "name": "9__Main TS",
              "vapour": {
                "massFlow": 11.533,
                "massDensity": 25.071,
                "viscosity": 0.008906
              },
              "liquid": {
                "massFlow": 7.2278,
                "massDensity": 535.4,
                "viscosity": 0.104,
                "surfaceTension": 5.661
              }
            },
            {
              "name": "10__Main TS",
              "vapour": {
                "massFlow": 10.675,
                "massDensity": 25.404,
                "viscosity": 0.008962
              },
              "liquid": {
                "massFlow": 15.152,
                "massDensity": 537.8,
                "viscosity": 0.103,
                "surfaceTension": 5.554
              }
            },
            {
              "name": "11__Main TS",
              "vapour": {
                "massFlow": 10.755,
                "massDensity": 25.736,
                "viscosity": 0.009018
              },
              "liquid": {
                "massFlow": 15.342,
                "massDensity": 540.2,
                "viscosity": 0.102,
                "surfaceTension": 5.446
              }
            },
            {
              "name": "12__Main TS",
              "vapour": {
                "massFlow": 10.834,
                "massDensity": 26.069,
                "viscosity": 0.009074
              },
              "liquid": {
                "massFlow": 15.533,
                "massDensity": 542.6,
                "viscosity": 0.101,
                "surfaceTension": 5.339
              }
            },
            {
              "name": "13__Main TS",
              "vapour": {
                "massFlow": 10.912,
                "massDensity": 26.402,
                "viscosity": 0.009129
              },
              "liquid": {
                "massFlow": 15.724,
                "massDensity": 545.0,
                "viscosity": 0.1,
                "surfaceTension": 5.232
              }
            },
            {
              "name": "14__Main TS",
              "vapour": {
                "massFlow": 10.989,
                "massDensity": 26.734,
                "viscosity": 0.009185
              },
              "liquid": {
                "massFlow": 15.915,
                "massDensity": 547.4,
                "viscosity": 0.099,
                "surfaceTension": 5.124
              }
            },
            {
              "name": "15__Main TS",
              "vapour": {
                "massFlow": 11.065,
                "massDensity": 27.067,
                "viscosity": 0.009241
              },
              "liquid": {
                "massFlow": 16.107,
                "massDensity": 549.8,
                "viscosity": 0.098,
                "surfaceTension": 5.017
              }
            },
            {
              "name": "16__Main TS",
              "vapour": {
                "massFlow": 11.14,
                "massDensity": 27.399,
                "viscosity": 0.009297
              },
              "liquid": {
                "massFlow": 16.3,
                "massDensity": 552.2,
                "viscosity": 0.097,
                "surfaceTension": 4.909
              }
            },
            {
              "name": "17__Main TS",
              "vapour": {
                "massFlow": 11.214,
                "massDensity": 27.732,
                "viscosity": 0.009353
              },
              "liquid": {
                "massFlow": 16.493,
                "massDensity": 554.6,
                "viscosity": 0.096,
                "surfaceTension": 4.802
              }
            },
            {
              "name": "18__Main TS",
              "vapour": {
                "massFlow": 11.287,
                "massDensity": 28.065,
                "viscosity": 0.009408
              },
              "liquid": {
                "massFlow": 16.687,
                "massDensity": 557.0,
                "viscosity": 0.095,
                "surfaceTension": 4.695
              }
            },
            {
              "name": "19__Main TS",
              "vapour": {
                "massFlow": 11.36,
                "massDensity": 28.397,
                "viscosity": 0.009464
              },
              "liquid": {
                "massFlow": 16.882,
                "massDensity": 559.4,
                "viscosity": 0.094,
                "surfaceTension": 4.587
              }
            },
            {
              "name": "20__Main TS",
              "vapour": {
                "massFlow": 11.432,
                "massDensity": 28.73,
                "viscosity": 0.00952
              },
              "liquid": {
                "massFlow": 17.077,
                "massDensity": 561.8,
                "viscosity": 0.093,
                "surfaceTension": 4.48
              }
            },
            {
              "name": "Reboiler",
              "vapour": {
                "massFlow": 11.398,
                "massDensity": 28.9,
                "viscosity": 0.00955
              },
              "liquid": {
                "massFlow": 4.8096,
                "massDensity": 563.0,
                "viscosity": 0.092,
                "surfaceTension": 4.45
              }
            }
          ]
        }
      },
      {
        "name": "E-100",
        "type": "heaterop"
      }
    ]
  }
}
