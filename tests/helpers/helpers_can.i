/* Test helpers for _qx_api_can. */
