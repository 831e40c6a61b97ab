/* _qx_api_can: rules and declarations of node configuration and cyclic messages. */
